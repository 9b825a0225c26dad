#include "Fopen.h"

#include "ControlesFichiers.h"
#include "Fnormal.h"
#include "Label3D.h"
#include "TMultiP.h"
#include "outils.h"
#include "progression.h"
#include "reduction.h"
#include "systeme.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

const QString MASQUE_IMAGES = QStringLiteral("*.jpg;*.tif;*.gif;*.pcx;*.bmp;*.scm;*.png");
constexpr int COTE_CADRE = 240;

}  // namespace

PlacementApercu place_apercu(QSize image, QSize cadre)
{
    const int W = cadre.width();
    const int H = cadre.height();
    QSize taille = image;
    bool etire = false;
    if (!image.isEmpty()) {
        const Reduction r = reduit(image, QSize(W - 30, H - 30));
        etire = r.etire;
        taille = r.taille;
    } else {
        taille = QSize(0, 0);
    }
    const int haut = (H - taille.height()) / 2 + 2;
    const int gauche = (W - taille.width()) / 2 + 2;
    return {etire, QRect(QPoint(gauche, haut), taille)};
}

Touvre_image::Touvre_image(Tnormal *vue_normale, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint), normal(vue_normale)
{
    setObjectName(QStringLiteral("ouvre_image"));
    setFixedSize(470, 297);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    FilterComboBox1 = place(new TFilterComboBox(this), 10, 10, 201);
    FilterComboBox1->setFilter(QStringLiteral(
        "Toutes les images|*.jpg;*.tif;*.gif;*.pcx;*.bmp;*.scm;*.png;|BMP Images|*.bmp|GIF Images|*.gif|"
        "PCX Images|*.pcx|JPG Images|*.jpg|PNG Images|*.png|TIF Images|*.tif"));
    FileListBox1 = place(new TFileListBox(this), 10, 35, 201, 86);
    DirectoryListBox1 = place(new TDirectoryListBox(this), 10, 125, 202, 96);
    DriveComboBox1 = place(new TDriveComboBox(this), 10, 226, 202);

    cadre_image = place(new QGroupBox(this), 220, 5, COTE_CADRE, COTE_CADRE);
    MultiImage1 = new TPMultiImage(cadre_image);
    MultiImage1->setCenter(true);
    MultiImage1->setImageDither(true);
    MultiImage1->setImageReadRes(lAutoMatic);
    MultiImage1->setColor(palette().color(QPalette::Button));
    // The preview is a thumbnail: a small read from the desktop's cache once the file is known.
    MultiImage1->setReadReduction(QSize(COTE_CADRE - 30, COTE_CADRE - 30));
    MultiImage1->setThumbnailCache(true);
    Label3D1 = place(new TLabel3D(QStringLiteral("Visualisation de l'image"), cadre_image), 20, 0, 156, 17);
    QFont italique(QStringLiteral("Times New Roman"));
    italique.setItalic(true);
    Label3D1->setFont(italique);
    Label3D1->setShadowColor(Qt::gray);
    Label3D1->setTransparent(true);
    Label3D1->setToolTip(QStringLiteral("Voir l'image ou la cacher"));
    Label3D1->installEventFilter(this);
    CheckBox1 = new QCheckBox(this);
    CheckBox1->move(225, 1);
    CheckBox1->setToolTip(QStringLiteral("Voir l'image ou la cacher"));
    CheckBox1->raise();

    Gauge1 = jauge_outil(this, 5, 268);

    zoom_bt = place(new QPushButton(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                                    QStringLiteral("Zoom"), this), 220, 262, 75, 29);
    zoom_bt->setToolTip(QStringLiteral("Image (taille normal)"));
    CancelBtn = place(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                                      QStringLiteral("Annuler"), this), 303, 262, 76, 29);
    CancelBtn->setToolTip(QStringLiteral("Annuler la sélection"));
    OKBtn = place(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this),
                  386, 262, 75, 29);
    OKBtn->setToolTip(QStringLiteral("Sélection de l'image"));
    OKBtn->setDefault(true);

    // FormCreate: the lists are linked, and start at the current folder.
    FileListBox1->setMask(MASQUE_IMAGES);
    if (!DirectoryListBox1->setDirectory(QDir::currentPath()))
        DirectoryListBox1->setDirectory(QDir::rootPath());
    FileListBox1->setDirectory(DirectoryListBox1->Directory());
    DriveComboBox1->setDriveOf(DirectoryListBox1->Directory());
    connect(DriveComboBox1, &TDriveComboBox::Change, this, [this](const QString &racine) {
        if (DirectoryListBox1->setDirectory(racine))
            FileListBox1->setDirectory(racine);
        else
            DriveComboBox1->setDriveOf(DirectoryListBox1->Directory());
        changement();
    });
    connect(DirectoryListBox1, &TDirectoryListBox::Change, this, [this](const QString &dossier) {
        FileListBox1->setDirectory(dossier);
        changement();
    });
    connect(FilterComboBox1, &TFilterComboBox::Change, this, [this](const QString &masque) {
        FileListBox1->setMask(masque);
        changement();
    });
    apercu_differe = new QTimer(this);
    apercu_differe->setSingleShot(true);
    apercu_differe->setInterval(0);
    connect(apercu_differe, &QTimer::timeout, this, &Touvre_image::charge_apercu);
    connect(FileListBox1, &TFileListBox::Change, this, &Touvre_image::changement);
    connect(CheckBox1, &QCheckBox::clicked, this, &Touvre_image::CheckBox1Click);
    connect(zoom_bt, &QPushButton::clicked, this, &Touvre_image::zoom_btClick);
    connect(OKBtn, &QPushButton::clicked, this, &Touvre_image::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    affiche_image();
}

QString Touvre_image::apercu_voulu() const
{
    return CheckBox1->isChecked() ? FileListBox1->FileName() : QString();
}

void Touvre_image::changement()
{
    fichier_image = FileListBox1->FileName();
    // The preview waits for the events already queued: walking the list with the
    // arrow keys loads only the file it stops on, never one already left behind.
    apercu_differe->start();
}

void Touvre_image::charge_apercu()
{
    FileListBox1->setEnabled(false);
    MultiImage1->setImageName(CheckBox1->isChecked() ? fichier_image : QString());
    affiche_image();
    FileListBox1->setEnabled(true);
    FileListBox1->setFocus();
}

void Touvre_image::CheckBox1Click()
{
    MultiImage1->setImageName(apercu_voulu());
    affiche_image();
}

void Touvre_image::Label3D1Click()
{
    CheckBox1->click();
    MultiImage1->setImageName(apercu_voulu());
}

void Touvre_image::affiche_image()
{
    zoom_bt->setEnabled(!FileListBox1->FileName().isEmpty() && CheckBox1->isChecked());
    const PlacementApercu p = place_apercu(MultiImage1->Picture().size(), cadre_image->size());
    MultiImage1->setStretch(p.etire);
    MultiImage1->setGeometry(p.rectangle);
}

void Touvre_image::zoom_btClick()
{
    // The preview holds a reduced picture: the full-size view reads the file at its own size.
    TPMultiImage pleine;
    pleine.setImageDither(true);
    pleine.setImageReadRes(lAutoMatic);
    pleine.setImageName(apercu_voulu());
    normal->montre(pleine.Picture());
}

void Touvre_image::OKBtnClick()
{
    if (confirme_sans_fichier && fichier_image.isEmpty() &&
        systeme::boite(systeme::TypeBoite::Confirmation, QStringLiteral("Désirez-vous affacer cette image"),
                       systeme::OK | systeme::Annuler) != systeme::OK)
        return;
    accept();
}

void Touvre_image::showEvent(QShowEvent *event)
{
    Gauge1->setValue(0);
    centre_fenetre(*this);
    QDialog::showEvent(event);
}

bool Touvre_image::eventFilter(QObject *objet, QEvent *evenement)
{
    if (objet == Label3D1 && evenement->type() == QEvent::MouseButtonRelease)
        Label3D1Click();
    return QDialog::eventFilter(objet, evenement);
}

std::optional<QString> Touvre_image::choisit_image()
{
    if (systeme::execute(*this) != QDialog::Accepted)
        return std::nullopt;
    return fichier_image;
}
