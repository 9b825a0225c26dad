#include "navigation.h"

int position_liste(int y) { return y / HAUTEUR_ENTREE_LISTE + 1; }

int place_apres_depot(int n, int cible) { return n - 1 > cible ? cible : n; }
