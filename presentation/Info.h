// The slide information window: on its first tab the slide's picture path, sound
// path and comment; on its second the description of its picture, which the
// caller fills in before showing the window. The tab stays between openings.
#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QStackedWidget;
class QTabBar;
class TLabel3D;

class Tinfo_diapo : public QDialog {
    Q_OBJECT

public:
    explicit Tinfo_diapo(QWidget *parent = nullptr);

    // The slide shown at the next opening (set by the caller).
    int numero = 0;

    QStackedWidget *Notebook1;
    QTabBar *TabSet1;
    QLineEdit *image;
    QLineEdit *son;
    QPlainTextEdit *texte;
    TLabel3D *info_type;
    TLabel3D *info_largeur;
    TLabel3D *info_hauteur;
    TLabel3D *info_taille;
    TLabel3D *info_couleurs;
    TLabel3D *info_bits;
    TLabel3D *info_densite;
    TLabel3D *info_compression;

    // Reads slide `numero` into the record buffer and shows its fields.
    void FormShow();
    void TabSet1Change(int onglet);

protected:
    void showEvent(QShowEvent *event) override;
};
