#include "Fconvert.h"

#include "ControlesFichiers.h"
#include "Danhint.h"
#include "Label3D.h"
#include "TMultiP.h"
#include "formats_outils.h"
#include "imagefile.h"
#include "outils.h"
#include "plan_conversion.h"
#include "progression.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QThread>

namespace {

const QString MASQUE_CONVERSION = QStringLiteral("*.JPG;*.GIF;*.PCX;*.BMP;*.PNG;*.TIF");
constexpr int COTE_CADRE = 275;

// A source or destination column: drive, folder and file lists linked as one.
void lie(TDriveComboBox *lecteur, TDirectoryListBox *dossiers, TFileListBox *fichiers)
{
    dossiers->setDirectory(QDir::currentPath());
    fichiers->setDirectory(dossiers->Directory());
    lecteur->setDriveOf(dossiers->Directory());
    QObject::connect(lecteur, &TDriveComboBox::Change, dossiers, [=](const QString &racine) {
        if (dossiers->setDirectory(racine))
            fichiers->setDirectory(racine);
        else
            lecteur->setDriveOf(dossiers->Directory());
    });
    QObject::connect(dossiers, &TDirectoryListBox::Change, fichiers, &TFileListBox::setDirectory);
}

}  // namespace

TConversion_images::~TConversion_images() { ProgressCallback = nullptr; }

void TConversion_images::showEvent(QShowEvent *event)
{
    sans_bulles(*this, true);
    QDialog::showEvent(event);
}

void TConversion_images::hideEvent(QHideEvent *event)
{
    sans_bulles(*this, false);
    QDialog::hideEvent(event);
}

TConversion_images::TConversion_images(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Conversion_images"));
    setWindowTitle(QStringLiteral("Utilitaire pour la conversion d'images"));
    resize(634, 468);
    setFont(QFont(QStringLiteral("Times New Roman")));

    cadre_image = groupe_titre(this, 5, 5, COTE_CADRE, COTE_CADRE, QStringLiteral("Image à convertir "));
    MultiImage1 = cree_apercu(cadre_image, 100, 0);
    MultiImage1->setStretchRatio(true);
    MultiImage1->setPNGInterLaced(false);

    QGroupBox *source = groupe_titre(this, 285, 5, 165, 390, QStringLiteral("Source "));
    ComboBox1 = place(new QComboBox(source), 10, 15, 145);
    ComboBox1->setEditable(true);
    ComboBox1->setMaxVisibleItems(15);
    ComboBox1->addItems({MASQUE_CONVERSION, "*.JPG", "*.GIF", "*.PCX", "*.BMP", "*.PNG", "*.TIF"});
    ComboBox1->setEditText(QStringLiteral("Fichiers Image"));
    FileListBox1 = place(new TFileListBox(source), 10, 41, 145, 159);
    FileListBox1->setMultiSelect(true);
    FileListBox1->setMask(MASQUE_CONVERSION);
    DirectoryListBox1 = place(new TDirectoryListBox(source), 10, 205, 145, 150);
    DriveComboBox1 = place(new TDriveComboBox(source), 10, 360, 145);

    QGroupBox *destination = groupe_titre(this, 455, 5, 165, 391, QStringLiteral("Destination "));
    FileListBox2 = place(new TFileListBox(destination), 10, 15, 145, 185);
    FileListBox2->setMask(MASQUE_CONVERSION);
    DirectoryListBox2 = place(new TDirectoryListBox(destination), 10, 205, 145, 150);
    DriveComboBox2 = place(new TDriveComboBox(destination), 10, 360, 145);

    QGroupBox *formats = groupe_titre(this, 165, 285, 116, 110, QStringLiteral("Formats "));
    QRadioButton **radios_formats[] = {&CTOJPEG, &CTOBMP, &CTOGIF, &CTOPCX, &CTOPNG, &CTOTIF};
    for (int i = 0; i < 6; ++i) {
        QRadioButton *&radio = *radios_formats[i];
        radio = place(new QRadioButton(QString::fromLatin1(FORMATS_OUTILS[i].libelle), formats), 8, 15 + 15 * i,
                      104, 15);
        connect(radio, &QRadioButton::clicked, this, &TConversion_images::CTOJPEGClick);
    }
    CTOJPEG->setChecked(true);

    QGroupBox *resolution = groupe_titre(this, 5, 285, 156, 110, QStringLiteral("Résolution "));
    QRadioButton **resolutions[] = {&SaveRes4System, &Saveres4, &Saveres8, &Saveres24, &SaveResJpegGray, &SaveResAuto};
    const QString noms_resolutions[] = {"4 bit (Syst. 16  coul.)", "4 bit (16 couleurs)", "8 bit (256 couleurs)",
                                        "24 bit (true colors)", "Jpeg Grayscale", "Automatic"};
    for (int i = 0; i < 6; ++i) {
        *resolutions[i] = place(new QRadioButton(noms_resolutions[i], resolution), 8, 15 + 15 * i, 144, 15);
        connect(*resolutions[i], &QRadioButton::clicked, this, &TConversion_images::SaveRes);
    }
    SaveResAuto->setChecked(true);

    QualityLabel = place(new QLabel(QStringLiteral("Jpeg Save Quality "), this), 5, 400, 120);
    QualitySpin = place(new QSpinBox(this), 125, 398, 60);
    QualitySpin->setRange(0, 100);
    QualitySpin->setValue(100);
    QualitySpin->setToolTip(QStringLiteral("0 to 100 for jpeg saving quality"));
    SmoothLabel = place(new QLabel(QStringLiteral("Jpeg Save Smooth"), this), 195, 400, 110);
    Smoothspin = place(new QSpinBox(this), 305, 398, 60);
    Smoothspin->setRange(0, 100);
    Smoothspin->setToolTip(QStringLiteral("0 to 100 for jpeg smoothing quality"));
    CheckBox2 = place(new QCheckBox(QStringLiteral("Save PNG Interlaced "), this), 5, 400, 200);
    Label3 = place(new QLabel(QStringLiteral("Tif Compression"), this), 5, 400, 110);
    TiffCombo = place(new QComboBox(this), 125, 398, 110);
    TiffCombo->setEditable(true);
    TiffCombo->addItems({"NONE", "CCITT", "LZW", "PACKBITS"});
    for (QWidget *option : std::initializer_list<QWidget *>{QualityLabel, QualitySpin, SmoothLabel, Smoothspin,
                                                            CheckBox2, Label3, TiffCombo})
        option->hide();

    gauge1 = jauge_outil(this, 5, 440);
    avancement = place(new QLabel(this), 115, 440, 200);
    arreter = place(new QPushButton(style()->standardIcon(QStyle::SP_BrowserStop), QStringLiteral("Arrêter"), this),
                    320, 430, 99, 33);
    arreter->setToolTip(QStringLiteral("Arrêter la conversion"));
    arreter->setEnabled(false);
    connect(arreter, &QPushButton::clicked, this, [this] { arret_ = true; });
    convert = place(new QPushButton(style()->standardIcon(QStyle::SP_BrowserReload), QStringLiteral("Conversion"), this),
                    425, 430, 99, 33);
    convert->setToolTip(QStringLiteral("Exécuter la conversion"));
    BitBtn1 = place(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this),
                    530, 430, 89, 33);
    BitBtn1->setToolTip(QStringLiteral("Sortir"));

    lie(DriveComboBox1, DirectoryListBox1, FileListBox1);
    lie(DriveComboBox2, DirectoryListBox2, FileListBox2);
    connect(ComboBox1, &QComboBox::editTextChanged, this, [this](const QString &masque) {
        if (masque != QLatin1String("Fichiers Image"))
            FileListBox1->setMask(masque);
    });
    connect(FileListBox1, &TFileListBox::Change, this, &TConversion_images::FileListBox1Change);
    connect(FileListBox2, &TFileListBox::Change, this, &TConversion_images::FileListBox2Change);
    connect(QualitySpin, &QSpinBox::valueChanged, MultiImage1, &TPMultiImage::setJPegSaveQuality);
    connect(Smoothspin, &QSpinBox::valueChanged, MultiImage1, &TPMultiImage::setJPegSaveSmooth);
    connect(CheckBox2, &QCheckBox::toggled, MultiImage1, &TPMultiImage::setPNGInterLaced);
    connect(TiffCombo, &QComboBox::currentTextChanged, this, &TConversion_images::TiffComboChange);
    connect(convert, &QPushButton::clicked, this, &TConversion_images::ConvertClick);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    affiche_image();
}

void TConversion_images::CTOJPEGClick()
{
    QualityLabel->setVisible(CTOJPEG->isChecked());
    QualitySpin->setVisible(CTOJPEG->isChecked());
    SmoothLabel->setVisible(CTOJPEG->isChecked());
    Smoothspin->setVisible(CTOJPEG->isChecked());
    CheckBox2->setVisible(CTOPNG->isChecked());
    Label3->setVisible(CTOTIF->isChecked());
    TiffCombo->setVisible(CTOTIF->isChecked());
}

void TConversion_images::SaveRes()
{
    QRadioButton *const radios[] = {SaveRes4System, Saveres4, Saveres8, Saveres24, SaveResJpegGray, SaveResAuto};
    MultiImage1->setImageWriteRes(RESOLUTIONS_OUTILS[coche(radios)]);
}

void TConversion_images::TiffComboChange(const QString &texte)
{
    const std::pair<const char *, TTiffCompression> table[] = {
        {"NONE", sNONE}, {"CCITT", sCCITT}, {"LZW", sLZW}, {"PACKBITS", sPACKBITS}};
    for (const auto &[nom, compression] : table)
        if (texte == QLatin1String(nom))
            MultiImage1->setTifSaveCompress(compression);
}

void TConversion_images::affiche_image() { affiche_apercu(MultiImage1, cadre_image); }

void TConversion_images::FileListBox1Change()
{
    FileListBox1->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QListWidgetItem *courant = FileListBox1->currentItem();
    MultiImage1->setImageName(courant && courant->isSelected()
                                  ? QDir(FileListBox1->Directory()).filePath(courant->text())
                                  : QString());
    QApplication::restoreOverrideCursor();
    affiche_image();
    FileListBox1->setEnabled(true);
    FileListBox1->setFocus();
}

void TConversion_images::FileListBox2Change()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    MultiImage1->setImageName(FileListBox2->FileName());
    QApplication::restoreOverrideCursor();
}

void TConversion_images::ConvertClick()
{
    QRadioButton *const radios[] = {CTOJPEG, CTOBMP, CTOGIF, CTOPCX, CTOPNG, CTOTIF};
    const FormatOutil *format = &FORMATS_OUTILS[coche(radios)];
    QStringList choisis;
    for (int i = 0; i < FileListBox1->count(); ++i)
        if (FileListBox1->item(i)->isSelected())
            choisis << FileListBox1->item(i)->text();
    const QList<ConversionFichier> plan = plan_conversion(choisis, FileListBox1->Directory(),
                                                          DirectoryListBox2->Directory(),
                                                          extension_outil(*format));
    ReglagesConversion reglages;
    const int ecran = DisplayColorBits(MultiImage1);
    reglages.profondeur_lecture = ReadDepth(MultiImage1->ImageReadRes(), ecran);
    reglages.tramage = MultiImage1->ImageDither();
    reglages.format = format->format;
    reglages.profondeur_ecriture = WriteDepth(MultiImage1->ImageWriteRes(), format->format, ecran);
    reglages.options.quality = MultiImage1->JPegSaveQuality();
    reglages.options.smoothing = MultiImage1->JPegSaveSmooth();
    reglages.options.interlaced = MultiImage1->PNGInterLaced();
    reglages.options.tiffCompression = TiffCompressionCode(MultiImage1->TifSaveCompress());
    // One file per core; the results come back in the list's order, each file
    // shown in the preview and any failure reported as it comes. The gauge shows
    // the share of the files done.
    convert->setEnabled(false);
    arret_ = false;
    arreter->setEnabled(true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!plan.isEmpty())
        avancement->setText(QStringLiteral("Fichier 1 sur %1").arg(plan.size()));
    convertit_lot(plan, reglages, QThread::idealThreadCount(), [&](int k, const IssueConversion &issue) {
        if (!issue.image.isNull())
            MultiImage1->setPicture(issue.lecture > 0 ? TPicture::fromBitmap(issue.image)
                                                      : TPicture::incompleteBitmap(
                                                            issue.image, FailureWithFile(issue.lecture, plan[k].source)));
        if (!issue.reussie()) {
            QApplication::restoreOverrideCursor();
            signale_echec(plan[k], issue);
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
        if (k + 1 < plan.size())
            avancement->setText(QStringLiteral("Fichier %1 sur %2").arg(k + 2).arg(plan.size()));
        gauge1->setValue(int((k + 1) * 100 / plan.size()));
    }, &arret_, arreter);
    arreter->setEnabled(false);
    gauge1->setValue(0);
    QApplication::restoreOverrideCursor();
    convert->setEnabled(true);
    avancement->clear();
    FileListBox2->Update();
    FileListBox1->Update();
}
