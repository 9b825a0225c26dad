#include "ajustement.h"

#include <algorithm>

PlacementPhoto place_photo(int largeur, int hauteur, QSize cadre)
{
    const int W = cadre.width();
    const int H = cadre.height();
    const int zone_l = W - 20;
    const int zone_h = H - 60;
    PlacementPhoto p{false, {}};
    int l = largeur;
    int h = hauteur;
    if (largeur > zone_l || hauteur > zone_h) {
        p.etire = true;
        if (largeur > hauteur) {
            l = zone_l;
            do {
                --l;
                h = int(double(hauteur) / largeur * l);
            } while (h > zone_h && l > 1);
        } else {
            h = zone_h;
            do {
                --h;
                l = int(double(largeur) / hauteur * h);
            } while (l > zone_l && h > 1);
        }
    }
    // A frame smaller than its margins still shows the picture, at one pixel.
    l = std::max(l, 1);
    h = std::max(h, 1);
    const int haut = int((H - 30 - h) * 0.5) + 2;
    const int gauche = int((W - l) * 0.5) + 2;
    p.rectangle = QRect(gauche, haut, l, h);
    return p;
}
