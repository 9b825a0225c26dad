// The contact sheet's arithmetic: twelve slots a page, where each slot and its
// thumbnail go, which slides a page holds, how far the gauge stands while a page
// fills. Values in, values out.
#pragma once

#include <QRect>
#include <QSize>

constexpr int VIGNETTES_PAR_PLANCHE = 12;

// The frame of slot k (1..12): four across, three down, row by row.
QRect rectangle_cadre(int emplacement);

// A thumbnail in its frame: a picture larger than 145 x 110 is stretched to the
// largest size with its proportions one pixel inside that area, a smaller one keeps
// its size; either is centred in the 149 x 114 area at (2, 2) of the frame.
struct PlacementVignette {
    bool etire;
    QRect rectangle;
};
PlacementVignette place_vignette(QSize image);
// The size of a picture as it is shown, from the size its file stores (`fichier`)
// and the picture read (`lue`, upright, perhaps reduced): `fichier` turned a quarter
// when the reading turned the picture from landscape to portrait or back.
QSize taille_droite(QSize fichier, QSize lue);
// The zone a thumbnail is fitted into (for decoding it no larger than needed).
QSize zone_vignette();

// The gauge while a page fills, after slot `passe` of a show of `diapos` slides:
// the share of min(diapos, 12), fraction dropped, never beyond 100.
int valeur_jauge(int passe, int diapos);

// Pages, page and selected slot of a sheet over `diapos` slides.
class NavigationPlanche {
public:
    explicit NavigationPlanche(int diapos = 0) : diapos_(diapos) {}

    int diapos() const { return diapos_; }
    int page() const { return page_; }
    int selection() const { return selection_; }
    // At least one page, even for an empty show.
    int nombre_pages() const;
    // The slide in slot k of the current page; 0 when the slot is past the last slide.
    int diapo(int emplacement) const;
    int diapo_choisie() const { return diapo(selection_); }

    // Each answers false, changing nothing, at the first or last page.
    bool precedente();
    bool suivante();
    // Back to page 1, slot 1 (each opening).
    void debut();
    void selectionne(int emplacement) { selection_ = emplacement; }

private:
    int diapos_;
    int page_ = 1;
    int selection_ = 1;
};
