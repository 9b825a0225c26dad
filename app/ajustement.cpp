#include "ajustement.h"

#include "reduction.h"

PlacementPhoto place_photo(int largeur, int hauteur, QSize cadre)
{
    const int W = cadre.width();
    const int H = cadre.height();
    const Reduction r = reduit(QSize(largeur, hauteur), QSize(W - 20, H - 60));
    const int haut = int((H - 30 - r.taille.height()) * 0.5) + 2;
    const int gauche = int((W - r.taille.width()) * 0.5) + 2;
    return {r.etire, QRect(QPoint(gauche, haut), r.taille)};
}
