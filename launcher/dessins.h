// The launcher's own pictures, drawn when the windows are built: the
// background with its four corner buttons and their lit versions, the five
// flags plain and lit, the globe and the pointer of the corners.
#pragma once

#include <QCursor>
#include <QImage>

namespace lanceur {

QImage fond();
// The lit version of corner `coin` of the background, at that corner's size.
QImage coin_allume(int coin);
QImage drapeau(int drapeau, bool allume);
QImage globe();
QCursor pointeur();

}  // namespace lanceur
