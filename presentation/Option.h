// The display options "OPTIONS D'AFFICHAGE" of a comment: text colour and font,
// the strip behind it or none, at the top or at the bottom of the screen. Edits
// the record buffer in place: colours and font as soon as their dialog closes,
// the check box and the position only by OK.
#pragma once

#include <QDialog>
#include <QRect>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QWidget;


class Toption_affichage : public QDialog {
    Q_OBJECT
public:
    explicit Toption_affichage(QWidget *parent = nullptr);

    // The main window's rectangle, recorded by the caller: the dialog centres itself on it.
    QRect principale;
    // The help file, opened at the options' page by F1.
    QString fichier_aide;

    QCheckBox *transparent;
    QGroupBox *position;
    QRadioButton *en_haut;
    QRadioButton *en_bas;
    QPushButton *couleur_fond;
    QPushButton *couleur_texte;
    QPushButton *BitBtn1;

    virtual void FormShow();
    void couleur_fondClick();
    void couleur_texteClick();
    virtual void BitBtn1Click();

protected:
    // `hauteur`: client height; the general dialog has room for its extra check box.
    Toption_affichage(QWidget *parent, int hauteur);
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
