// How the program's windows fit a picture into a frame: a picture that fits keeps
// its size; a larger one is stretched to the largest size with its proportions that
// is at least one pixel smaller than the area on its long side. Values in, values out.
#pragma once

#include <QImage>
#include <QSize>

struct Reduction {
    bool etire;
    QSize taille;
};

// `image` fitted into `zone`; never smaller than 1 x 1.
Reduction reduit(QSize image, QSize zone);

// The JPEG decoding scale, 1, 2, 4 or 8, for a picture of size `image` shown fitted
// into `zone` by reduit(): the largest whose decoded picture (the size divided by the
// scale, rounded up) still covers the fitted size, so a thumbnail costs a fraction
// of a full decode and loses nothing on screen.
int echelle_de_decodage(QSize image, QSize zone);

// The JPEG decoding scale, 1, 2, 4 or 8: the largest whose decoded picture (the
// size divided by the scale, rounded up) still covers `voulue`.
int echelle_couvrant(QSize image, QSize voulue);

// The size a picture of size `image` takes on a screen of size `ecran`: its own
// when it fits, else the largest with its proportions that fits (at least 1 x 1).
QSize taille_a_l_ecran(QSize image, QSize ecran);

// What the show draws for a picture read (perhaps already reduced by its decoding)
// on a screen of `ecran` device pixels: a picture larger than the screen brought to
// taille_a_l_ecran() with a smoothing filter, any other as it is, in a format
// drawn without a conversion at each paint.
QImage image_pour_ecran(const QImage &lue, QSize ecran);
