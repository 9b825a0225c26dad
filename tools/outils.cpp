#include "outils.h"

#include "Fopen.h"
#include "Label3D.h"
#include "TMultiP.h"
#include "progression.h"
#include "systeme.h"

#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QProgressBar>
#include <QScreen>

QProgressBar *jauge_outil(QWidget *fenetre, int gauche, int haut)
{
    auto *panneau = place(new QFrame(fenetre), gauche, haut, 100, 17);
    panneau->setFrameShape(QFrame::Panel);
    panneau->setFrameShadow(QFrame::Sunken);
    auto *jauge = place(new QProgressBar(panneau), 5, 3, 90, 11);
    jauge->setRange(0, 100);
    jauge->setValue(0);
    jauge->setTextVisible(false);
    jauge->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: red; }"));
    ajoute_jauge({fenetre, jauge, true});
    return jauge;
}

QGroupBox *groupe_titre(QWidget *parent, int gauche, int haut, int largeur, int hauteur, const QString &titre,
                        int pixels)
{
    auto *groupe = place(new QGroupBox(parent), gauche, haut, largeur, hauteur);
    auto *etiquette = new TLabel3D(titre, groupe);
    QFont italique(QStringLiteral("Times New Roman"));
    italique.setItalic(true);
    if (pixels > 0)
        italique.setPixelSize(pixels);
    etiquette->setFont(italique);
    etiquette->setShadowColor(Qt::gray);
    etiquette->setTransparent(true);
    etiquette->move(10, 0);
    etiquette->adjustSize();
    return groupe;
}

void affiche_apercu(TPMultiImage *image, const QWidget *cadre)
{
    const PlacementApercu p = place_apercu(image->Picture().size(), cadre->size());
    image->hide();
    image->setStretch(p.etire);
    image->setGeometry(p.rectangle);
    image->show();
}

TPMultiImage *cree_apercu(QWidget *parent, int qualite_jpeg, int lissage_jpeg)
{
    auto *apercu = new TPMultiImage(parent);
    apercu->setCenter(true);
    apercu->setImageDither(true);
    apercu->setImageReadRes(lAutoMatic);
    apercu->setImageWriteRes(sAutoMatic);
    apercu->setTifSaveCompress(sNONE);
    apercu->setJPegSaveQuality(qualite_jpeg);
    apercu->setJPegSaveSmooth(lissage_jpeg);
    return apercu;
}

int execute_au_dessus(QDialog &fenetre, QWidget *ouvrante)
{
    QWidget *const parent = fenetre.parentWidget();
    const Qt::WindowFlags drapeaux = fenetre.windowFlags();
    fenetre.setParent(ouvrante, drapeaux);
    const int resultat = systeme::execute(fenetre);
    fenetre.setParent(parent, drapeaux);
    return resultat;
}

void centre_fenetre(QWidget &fenetre, const QRect &principale)
{
    // The client area's place, not the frame's (move): Qt then asks the window manager
    // to keep the client where it is put, instead of reckoning the frame's place from
    // the margins of the last showing, which left the window a title bar lower each time.
    fenetre.setGeometry(principale.left() + (principale.width() - fenetre.width()) / 2,
                        principale.top() + (principale.height() - fenetre.height()) / 2, fenetre.width(),
                        fenetre.height());
}

void centre_fenetre(QWidget &fenetre)
{
    if (const QWidget *parent = fenetre.parentWidget())
        centre_fenetre(fenetre, parent->window()->geometry());
    else if (const QScreen *ecran = fenetre.screen())
        centre_fenetre(fenetre, ecran->availableGeometry());
}
