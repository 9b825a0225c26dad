// The image browser: drives, folders and files filtered by type, the selected
// picture previewed in a square frame, and its full-size view. Created once;
// its folder, filter, selection and preview stay from one showing to the next.
#pragma once

#include <QDialog>
#include <optional>
#include <QSize>

class QCheckBox;
class QGroupBox;
class QProgressBar;
class QPushButton;
class QTimer;
class TDirectoryListBox;
class TDriveComboBox;
class TFileListBox;
class TFilterComboBox;
class TLabel3D;
class TPMultiImage;
class Tnormal;

// Where the preview goes in its frame (`cadre`): left, top and size, and whether it is stretched.
struct PlacementApercu {
    bool etire;
    QRect rectangle;
};
PlacementApercu place_apercu(QSize image, QSize cadre);

class Touvre_image : public QDialog {
    Q_OBJECT
public:
    Touvre_image(Tnormal *normal, QWidget *parent = nullptr);

    // The dialog's result: the file selected at the last change of the lists.
    QString fichier_image;
    // Shows the browser; the picture chosen (empty: none) when confirmed, nothing when cancelled.
    std::optional<QString> choisit_image();
    // Set by a caller that makes the result the slide's picture: OK with no file
    // selected then asks before that picture is cleared.
    bool confirme_sans_fichier = false;

    TFilterComboBox *FilterComboBox1;
    TFileListBox *FileListBox1;
    TDirectoryListBox *DirectoryListBox1;
    TDriveComboBox *DriveComboBox1;
    QGroupBox *cadre_image;
    TLabel3D *Label3D1;
    TPMultiImage *MultiImage1;
    QCheckBox *CheckBox1;
    QProgressBar *Gauge1;
    QPushButton *zoom_bt;
    QPushButton *CancelBtn;
    QPushButton *OKBtn;

    // The common change of the four lists: the result now, the preview once the queued events are done.
    void changement();
    void charge_apercu();
    void CheckBox1Click();
    void Label3D1Click();
    void affiche_image();
    void zoom_btClick();
    void OKBtnClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *objet, QEvent *evenement) override;

private:
    QString apercu_voulu() const;
    Tnormal *normal;
    QTimer *apercu_differe;
};
