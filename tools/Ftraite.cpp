#include "Ftraite.h"

#include "diaporama.h"

#include "formats_outils.h"

#include "Bimage.h"
#include "TMultiP.h"
#include "chemins.h"
#include "fichier_sli.h"
#include "fichier_type.h"
#include "imagefile.h"
#include "outils.h"
#include "systeme.h"

#include <QFile>
#include <QFrame>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

namespace {

constexpr int HAUTEUR_BARRE = 28;
constexpr QSize TAILLE_RESTAUREE(800, 600);
constexpr int QUALITE_JPEG = 25;

QPushButton *bouton_glyphe(QWidget *barre, int gauche, QStyle::StandardPixmap glyphe, const QString &aide)
{
    auto *b = place(new QPushButton(barre->style()->standardIcon(glyphe), QString(), barre), gauche, 0, 28, 28);
    b->setToolTip(aide);
    return b;
}

}  // namespace

QString nom_court(const QString &chemin)
{
    return chemin.isEmpty() ? QStringLiteral("Pas de photo") : nom_seul(chemin);
}

Ttraitement::Ttraitement(Tconversion *fenetre_conversion, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowStaysOnTopHint), conversion(fenetre_conversion)
{
    setObjectName(QStringLiteral("traitement"));
    setWindowTitle(QStringLiteral("Manipulation de l'image"));
    setWindowState(Qt::WindowMaximized);

    resize(TAILLE_RESTAUREE);
    barre = new QFrame(this);
    barre->setGeometry(0, 0, width(), HAUTEUR_BARRE);
    BitBtn2 = bouton_glyphe(barre, 0, QStyle::SP_DialogSaveButton, QStringLiteral("Enregistrer les modifications"));
    BitBtn12 = bouton_glyphe(barre, 28, QStyle::SP_ArrowDown, QStringLiteral("Retourner verticalement"));
    pivote_bt = bouton_glyphe(barre, 56, QStyle::SP_ArrowRight, QStringLiteral("Retourner horizontalement"));
    BitBtn1 = bouton_glyphe(barre, 84, QStyle::SP_BrowserReload, QStringLiteral("Conversion"));

    // A picture larger than the window scrolls under the toolbar.
    defilement = new QScrollArea(this);
    defilement->setFrameShape(QFrame::NoFrame);
    defilement->setBackgroundRole(QPalette::Button);
    image = new TPMultiImage;
    image->setAutoSize(true);
    image->setCenter(true);
    image->setStretchRatio(true);
    image->setImageDither(true);
    image->setImageReadRes(lAutoMatic);
    image->setImageWriteRes(sAutoMatic);
    image->setTifSaveCompress(sNONE);
    image->setJPegSaveQuality(QUALITE_JPEG);
    image->setJPegSaveSmooth(0);
    image->setColor(palette().color(QPalette::Button));
    defilement->setWidget(image);

    connect(BitBtn2, &QPushButton::clicked, this, &Ttraitement::BitBtn2Click);
    connect(BitBtn12, &QPushButton::clicked, this, &Ttraitement::BitBtn12Click);
    connect(pivote_bt, &QPushButton::clicked, this, &Ttraitement::pivote_btClick);
    connect(BitBtn1, &QPushButton::clicked, this, &Ttraitement::BitBtn1Click);
}

void Ttraitement::resize_image()
{
    barre->resize(width(), HAUTEUR_BARRE);
    defilement->setGeometry(0, HAUTEUR_BARRE + 1, width(), qMax(0, height() - HAUTEUR_BARRE - 1));
    image->resize(image->Picture().size());
}

void Ttraitement::titre()
{
    setWindowTitle(QStringLiteral("Manipulation de l'image  -  ") + nom_court(fiche.chemin_image.valeur()));
}

void Ttraitement::showEvent(QShowEvent *event)
{
    // The caller has just given the slide's picture as its file holds it.
    retourne_ = miroir_ = false;
    QDialog::showEvent(event);
    resize_image();
    titre();
}

void Ttraitement::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    // Restored from maximised, the window takes its own size (it was made maximised: the
    // window manager knows no other) centred on the screen.
    if (event->type() == QEvent::WindowStateChange && windowState() == Qt::WindowNoState)
        if (const QScreen *ecran = screen()) {
            resize(TAILLE_RESTAUREE);
            centre_fenetre(*this, ecran->availableGeometry());
        }
}

void Ttraitement::BitBtn12Click()
{
    image->FlipImage();
    retourne_ = !retourne_;
}

void Ttraitement::pivote_btClick()
{
    image->MirrorImage();
    miroir_ = !miroir_;
}

// The picture itself is written, at its full size, once, in the format its path
// names (a Windows bitmap for any other ending). The writers replace the file
// only once the new one is whole, so a failure leaves the slide's file as it was.
void Ttraitement::BitBtn2Click()
{
    // A picture read only in part is not written over its file, even unchanged.
    if (!image->PictureWritable())
        return;
    const QString chemin = chemin_de_fiche(fiche.chemin_image.valeur());
    const FormatOutil *format = format_outil(chemin.right(3));
    bool ecrit;
    if (!format)
        ecrit = image->SaveAsBmp(chemin);
    else if (format->format == sky::Format::Jpeg)
        ecrit = enregistre_jpeg(chemin);
    else
        ecrit = (image->*format->ecrit)(chemin);
    if (ecrit)
        retourne_ = miroir_ = false;
}

// A JPEG that was only turned over keeps its coded data, moved without loss; when
// its size does not allow that, it is encoded again at no less than its own quality.
bool Ttraitement::enregistre_jpeg(const QString &chemin)
{
    QFile fichier(chemin);
    const QByteArray origine = fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
    fichier.close();
    QByteArray tourne;
    if (TurnJpegLosslessly(origine, retourne_, miroir_, tourne)) {
        remplace_fichier(chemin, tourne);
        return true;
    }
    image->setJPegSaveQuality(qMax(QUALITE_JPEG, JpegDataQuality(origine)));
    const bool ecrit = image->SaveAsJpeg(chemin);
    image->setJPegSaveQuality(QUALITE_JPEG);
    return ecrit;
}

void Ttraitement::BitBtn1Click()
{
    conversion->MultiImage1->setPicture(image->Picture());
    execute_au_dessus(*conversion, this);
    if (!conversion->converti)
        return;
    image->setPicture(conversion->MultiImage1->Picture());
    retourne_ = miroir_ = false;
    Diaporama::courant().fixe_image(conversion->nouveau_nom);
    resize_image();
    titre();
}

void Ttraitement::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    resize_image();
}
