// Where a slide dragged in the scenario list lands. Values in, values out.
#pragma once

// Height of an entry of the scenario list, in pixels.
constexpr int HAUTEUR_ENTREE_LISTE = 16;

// The position (from 1) of the entry under the vertical coordinate `y` of the visible list.
int position_liste(int y);

// The place (1..n) a dragged slide takes among `n` slides when dropped on slide
// `cible`: that slide's place while it is before the last, else the end.
int place_apres_depot(int n, int cible);
