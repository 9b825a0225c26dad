// Where the slide preview goes in the image frame: a picture that fits is shown
// at its own size, a larger one is stretched to the largest size that fits with
// its proportions (always at least one pixel smaller than the area), centred.
#pragma once

#include <QRect>

struct PlacementPhoto {
    bool etire;
    QRect rectangle;
};

// `largeur` x `hauteur`: the picture; `cadre`: the frame's size (W x H).
PlacementPhoto place_photo(int largeur, int hauteur, QSize cadre);
