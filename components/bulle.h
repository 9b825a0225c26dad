// The comic-strip balloon of the hint windows, without any window: its size for
// a text, where it goes on the screen, and how it is drawn over a copy of the
// screen. The hint window (Danhint) calls these.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>

// "Up" puts the balloon above the mouse with its pointer at the bottom, "Down"
// below it with its pointer at the top; "Right" makes it extend to the right of
// the mouse (pointer at its left end), "Left" to the left.
enum THintDirection { hdUpRight, hdUpLeft, hdDownRight, hdDownLeft };

bool vers_le_haut(THintDirection direction);

// The text rectangle's size for `texte` in `police`, wrapped at `largeur_max`
// pixels, with the hint window's margins (6 wide, 2 high).
QSize taille_texte_bulle(const QString &texte, const QFont &police, int largeur_max);

// The window's size for a text rectangle of `texte`: 16 wider, and 20 taller
// for an Up balloon, 29 for a Down one (its pointer is above the box).
QSize taille_bulle(QSize texte, THintDirection direction);

struct PlacementBulle {
    QRect rectangle;
    THintDirection direction;
};

// Places the balloon for a text rectangle of `texte` at the mouse position `souris`,
// starting from `direction` and switching to the other side where the balloon would
// leave `ecran`. Each direction is tried at most once: when none fits (a balloon
// larger than the screen), the last one tried is kept, at its own corner.
PlacementBulle place_bulle(QSize texte, QPoint souris, const QRect &ecran, THintDirection direction);

struct StyleBulle {
    QColor fond;
    QColor ombre;
    QFont police;
    QColor couleur_texte;
};

// The pointer's triangle in a window of size `taille`: base A, base B, tip T.
QPolygon pointe_bulle(THintDirection direction, QSize taille);

// Draws the balloon onto `image`, the copy of the screen under the window
// (32 bits a pixel, the window's size): dotted shadows, rounded box, pointer, text.
void dessine_bulle(QImage &image, THintDirection direction, const QString &texte,
                   const StyleBulle &style);
