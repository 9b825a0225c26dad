#include "Bimage.h"

#include "TMultiP.h"
#include "fichier_sli.h"
#include "formats_outils.h"
#include "imagefile.h"
#include "outils.h"
#include "systeme.h"

#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace {

constexpr int COTE_CADRE = 300;

}  // namespace

Tconversion::Tconversion(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("conversion"));
    setWindowTitle(QStringLiteral("Conversion de l'image"));
    setFixedSize(536, 356);
    setFont(QFont(QStringLiteral("Times New Roman")));

    cadre_image = groupe_titre(this, 10, 5, COTE_CADRE, COTE_CADRE, QStringLiteral("Image à convertir "));
    MultiImage1 = cree_apercu(cadre_image, 100, 100);
    MultiImage1->setStretchRatio(true);

    QGroupBox *GroupBox3 = groupe_titre(this, 320, 3, 206, 146, QStringLiteral("Format de conversion "));
    QRadioButton **formats[] = {&CTOJPEG, &CTOBMP, &CTOGIF, &CTOPCX, &CTOPNG, &CTOTIF};
    for (int i = 0; i < 6; ++i)
        *formats[i] = place(new QRadioButton(QString::fromLatin1(FORMATS_OUTILS[i].libelle), GroupBox3),
                            10, 20 + 20 * i, 190, 18);
    CTOJPEG->setChecked(true);

    QGroupBox *GroupBox4 = groupe_titre(this, 320, 159, 206, 146, QStringLiteral("Résolution "));
    QRadioButton **resolutions[] = {&SaveRes4System, &Saveres4, &Saveres8, &Saveres24, &SaveResJpegGray, &SaveResAuto};
    const char *noms[] = {"4 bit (16 System colors)", "4 bit (16 colors)", "8 bit (256 colors)",
                          "24 bit (true color)", "Jpeg Grayscale", "Automatic"};
    for (int i = 0; i < 6; ++i) {
        *resolutions[i] = place(new QRadioButton(QString::fromLatin1(noms[i]), GroupBox4), 10, 20 + 20 * i, 190, 18);
        connect(*resolutions[i], &QRadioButton::clicked, this, &Tconversion::SaveRes);
    }
    SaveResAuto->setChecked(true);

    gauge1 = jauge_outil(this, 10, 330);
    Convert = place(new QPushButton(style()->standardIcon(QStyle::SP_BrowserReload), QStringLiteral("Conversion"), this),
                    320, 318, 99, 33);
    QFont arial(QStringLiteral("Arial"));
    arial.setBold(true);
    Convert->setFont(arial);
    Convert->setToolTip(QStringLiteral("Exécuter la conversion"));
    BitBtn1 = place(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this),
                    435, 318, 89, 33);
    BitBtn1->setToolTip(QStringLiteral("Sortir"));

    connect(Convert, &QPushButton::clicked, this, &Tconversion::ConvertClick);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

Tconversion::~Tconversion() { ProgressCallback = nullptr; }

QString Tconversion::chemin_stocke() const { return chemin_de_fiche(fiche.chemin_image.valeur()); }

void Tconversion::showEvent(QShowEvent *event)
{
    converti = false;
    centre_fenetre(*this);
    affiche_image();
    setWindowTitle(QStringLiteral("CONVERSION DE ") + fiche.chemin_image.valeur());
    QDialog::showEvent(event);
}

void Tconversion::SaveRes()
{
    QRadioButton *const radios[] = {SaveRes4System, Saveres4, Saveres8, Saveres24, SaveResJpegGray, SaveResAuto};
    MultiImage1->setImageWriteRes(RESOLUTIONS_OUTILS[coche(radios)]);
}

// The stored file is read again, so unsaved changes of the caller's picture are not
// converted. The slide only takes a name that was written: a failed read or write
// (reported by the control) leaves `converti` and `nouveau_nom` as they were. A
// file not read whole writes nothing, whatever the control still shows.
void Tconversion::ConvertClick()
{
    QRadioButton *const radios[] = {CTOJPEG, CTOBMP, CTOGIF, CTOPCX, CTOPNG, CTOTIF};
    const FormatOutil &format = FORMATS_OUTILS[coche(radios)];
    const QString source = chemin_stocke();
    const QString cible = nom_converti(source, extension_outil(format));
    MultiImage1->setImageName(source);
    if (!MultiImage1->ReadFailure().isEmpty()) {
        systeme::boite(systeme::TypeBoite::Erreur,
                       MultiImage1->ReadFailure() + QStringLiteral("\nL'image n'est pas convertie."));
    } else if (!MultiImage1->Picture().isEmpty() && (MultiImage1->*format.ecrit)(cible)) {
        converti = true;
        nouveau_nom = cible;
        setWindowTitle(QStringLiteral("CONVERSION DE ") + cible);
        MultiImage1->setImageName(cible);
    }
    affiche_image();
}

void Tconversion::affiche_image() { affiche_apercu(MultiImage1, cadre_image); }

std::optional<QString> Tconversion::convertit_image()
{
    systeme::execute(*this);
    return converti ? std::optional<QString>(nouveau_nom) : std::nullopt;
}
