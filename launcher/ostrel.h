// The launcher's main window: one large picture whose four corners light up
// under the mouse, each with a two-colour caption in the chosen language, and
// run their action when a mouse button is pressed on them: the language
// window, copying the archive, the installer, the demonstration program.
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>

#include "tables.h"

class QLabel;
class QTimer;

namespace lanceur {

class Image;
class Langue;

class Ostrel : public QWidget {
    Q_OBJECT
public:
    // `dossier` is the folder that holds the launcher and its files.
    explicit Ostrel(const QString &dossier, QWidget *parent = nullptr);

    // Start-up: the language, the size, the captions, the window on screen,
    // the welcome sound and the quiet spell of the hover sound.
    void Form_Load();
    // Places the corners and sets their captions for the current language.
    void Traduction();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Image3_MouseMove(int coin);
    void Image1_MouseMove();
    void Image3_MouseDown(int coin);
    void Timer1_Timer();

    void montre_coin(int coin, bool visible);
    void montre_langue();
    // False when the user cancelled the folder chooser.
    bool copie_archive();
    void lance_demo();

    const QString dossier_;
    QString CheminAppli;
    QString CodeLangue;
    int ZoneActive = AUCUN_COIN;

    Image *Image1;
    std::array<QLabel *, NOMBRE_COINS + 1> Image2{};
    std::array<QLabel *, NOMBRE_COINS + 1> Label1{};
    std::array<QLabel *, NOMBRE_COINS + 1> Label2{};
    std::array<Image *, NOMBRE_COINS> Image3{};
    QTimer *Timer1;
    QPointer<Langue> langue_;
};

}  // namespace lanceur
