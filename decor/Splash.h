// The window shown while the program starts: its background picture and the
// program's name over it, with a line saying that it is loading.
#pragma once

#include <QWidget>

#include <memory>

class QLabel;
class TLabel3D;

// The program's name: the title without its version suffix, the last 6
// characters ("Slideshow V2.32" gives "Slideshow").
QString nom_logiciel(const QString &titre);

// The name label of the splash window and the about box: white bold italic
// Times New Roman of 48 pixels, centred across `largeur` at `haut`.
TLabel3D *cree_logiciel(QWidget *parent, int largeur, int haut);

class TSplashForm : public QWidget {
    Q_OBJECT

public:
    // Visible from its creation, centred on the screen.
    explicit TSplashForm(QWidget *parent = nullptr);

    // Returns once the window manager has put the window on the screen and it is
    // painted there, or after `plus_longtemps` milliseconds: the program then
    // builds its windows without handling events, and a window mapped meanwhile
    // would stay blank.
    void attends_d_etre_vu(int plus_longtemps = 300);

    QLabel *Image1;
    TLabel3D *logiciel;
    TLabel3D *Label3D1;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();
};

// The splash window, created and seen on the screen.
std::unique_ptr<TSplashForm> montre_splash();

// Puts `fenetre` in the middle of the screen it is on.
void centre_sur_ecran(QWidget &fenetre);
