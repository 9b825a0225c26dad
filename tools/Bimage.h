// The single-picture conversion: the slide's picture file written beside itself
// in another format and depth. The caller reads `converti` and `nouveau_nom`.
#pragma once

#include <QDialog>
#include <optional>

class QGroupBox;
class QProgressBar;
class QPushButton;
class QRadioButton;
class TPMultiImage;

class Tconversion : public QDialog {
    Q_OBJECT
public:
    explicit Tconversion(QWidget *parent = nullptr);
    // The library's progress routine reaches this window's gauge: it goes with it.
    ~Tconversion() override;

    // A conversion was written since the window was last shown, under `nouveau_nom`.
    bool converti = false;
    QString nouveau_nom;
    // Shows the window; the name of the picture written, nothing when none was.
    std::optional<QString> convertit_image();

    QGroupBox *cadre_image;
    TPMultiImage *MultiImage1;
    QRadioButton *CTOJPEG, *CTOBMP, *CTOGIF, *CTOPCX, *CTOPNG, *CTOTIF;
    QRadioButton *SaveRes4System, *Saveres4, *Saveres8, *Saveres24, *SaveResJpegGray, *SaveResAuto;
    QProgressBar *gauge1;
    QPushButton *Convert;
    QPushButton *BitBtn1;

    void SaveRes();
    void ConvertClick();
    void affiche_image();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The slide's picture file, as stored and as a path to read.
    QString chemin_stocke() const;
};
