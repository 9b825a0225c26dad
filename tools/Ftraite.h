// The manipulation window: the slide's picture at its own size, flipped or
// mirrored in memory, saved back into the slide's file, or handed to the
// single conversion.
#pragma once

#include <QDialog>

class QPushButton;
class QScrollArea;
class TPMultiImage;
class Tconversion;

// Short name of a slide's picture in the caption: its file name, "Pas de photo" for none.
QString nom_court(const QString &chemin);

class Ttraitement : public QDialog {
    Q_OBJECT
public:
    Ttraitement(Tconversion *conversion, QWidget *parent = nullptr);

    // Index of the slide whose picture is shown, set by the caller.
    int numero_diapo = 0;

    QPushButton *BitBtn2;
    QPushButton *BitBtn12;
    QPushButton *pivote_bt;
    QPushButton *BitBtn1;
    TPMultiImage *image;

    void resize_image();
    void BitBtn2Click();
    void BitBtn12Click();
    void pivote_btClick();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void titre();
    // Writes the picture as the slide's JPEG file; true when written.
    bool enregistre_jpeg(const QString &chemin);

    Tconversion *conversion;
    QWidget *barre;
    QScrollArea *defilement;
    // Flips and mirrors made since the picture was last the slide's file (each undoes itself).
    bool retourne_ = false;
    bool miroir_ = false;
};
