// The display fields of a record as the font, colours and place of a caption,
// and back: what the display options dialogs edit and the player draws with.
#pragma once

#include "fichier_sli.h"

#include <QColor>
#include <QFont>

// The largest caption size shown, in points.
constexpr int TAILLE_TEXTE_MAXIMALE = 200;
// Name, size and style of the record's font (a style code outside 1..4 is regular).
QFont police_de_fiche(const FicheDiapo &f);
// The same under the name of the face that draws it: the font chooser lists faces,
// not the names it stands for ("Arial" drawn as Liberation Sans), and would show
// another face and style for a name it does not list.
QFont police_a_choisir(const FicheDiapo &f);
// Stores `police` and `couleur` in the record: the style set as its code (underline
// or strike-out give regular), the size in points, the name cut to 40 characters;
// the face the stored name stands for keeps that name.
void police_vers_fiche(const QFont &police, const QColor &couleur, FicheDiapo &f);
