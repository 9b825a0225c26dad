// The image information box: the name and characteristics of the slide's picture,
// as the main window last set them.
#pragma once

#include <QDialog>

class QPushButton;
class TLabel3D;
class TPMultiImage;

class Tinfo_image : public QDialog {
    Q_OBJECT
public:
    explicit Tinfo_image(QWidget *parent = nullptr);

    // Takes the name `nom` and the characteristics the control read with its last picture.
    void remplit(const QString &nom, const TPMultiImage &image);

    TLabel3D *info_nom;
    TLabel3D *info_type, *info_largeur, *info_hauteur, *info_taille;
    TLabel3D *info_couleurs, *info_bits, *info_densite, *info_compression;
    QPushButton *BitBtn1;
};
