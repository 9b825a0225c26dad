// The batch conversion utility: files of one source folder converted into one
// format, with its depth and options, and written into a destination folder.
#pragma once

#include <QDialog>
#include <atomic>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TDirectoryListBox;
class TDriveComboBox;
class TFileListBox;
class TPMultiImage;

class TConversion_images : public QDialog {
    Q_OBJECT
public:
    explicit TConversion_images(QWidget *parent = nullptr);
    // The library's progress routine reaches this window's gauge: it goes with it.
    ~TConversion_images() override;

    QGroupBox *cadre_image;
    TPMultiImage *MultiImage1;
    QComboBox *ComboBox1;
    TFileListBox *FileListBox1;
    TDirectoryListBox *DirectoryListBox1;
    TDriveComboBox *DriveComboBox1;
    TFileListBox *FileListBox2;
    TDirectoryListBox *DirectoryListBox2;
    TDriveComboBox *DriveComboBox2;
    QRadioButton *CTOJPEG, *CTOBMP, *CTOGIF, *CTOPCX, *CTOPNG, *CTOTIF;
    QRadioButton *SaveRes4System, *Saveres4, *Saveres8, *Saveres24, *SaveResJpegGray, *SaveResAuto;
    QLabel *QualityLabel;
    QSpinBox *QualitySpin;
    QLabel *SmoothLabel;
    QSpinBox *Smoothspin;
    QCheckBox *CheckBox2;
    QLabel *Label3;
    QComboBox *TiffCombo;
    QProgressBar *gauge1;
    QLabel *avancement;  // "Fichier k sur n" while the loop runs
    QPushButton *convert;
    // Stops a conversion under way: the files done stay, the one in progress leaves nothing.
    QPushButton *arreter;
    QPushButton *BitBtn1;

    void ConvertClick();
    void CTOJPEGClick();
    void SaveRes();
    void TiffComboChange(const QString &texte);
    void FileListBox1Change();
    void FileListBox2Change();
    void affiche_image();

protected:
    // Its controls show no balloon while it is on the screen.
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    std::atomic_bool arret_{false};
};
