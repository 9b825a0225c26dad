// The player's arithmetic, without widgets: which slide a move leads to (every
// move wraps around), where the pad sits at the start of a show, and where a
// dialog goes to be centred over the main window.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

enum class Mouvement { Premiere, Derniere, Suivante, Precedente, Minuterie };

// The slide shown after `mouvement` from slide `courante` of a slideshow of `n` slides.
int diapo_apres(Mouvement mouvement, int courante, int n);

// The pad's top-left corner at the start of a show in a window of size `fenetre`:
// 10 pixels above the bottom edge, 14 from the right edge.
QPoint place_pave(QSize fenetre);

// Top-left corner of a dialog of size `dialogue` centred over `principale`, the fraction dropped.
QPoint centre_sur(const QRect &principale, QSize dialogue);

// A delay typed in the mode dialog, held to 1..60 seconds; text that is not a number reads as 1.
int delai_saisi(const QString &texte);

// How long a slide stays up in an automatic show, in milliseconds: the delay, or,
// when the show waits for the end of the sounds and the slide has a sound lasting
// `duree_son` milliseconds (0: none, or one that cannot be played), until that
// sound has ended, the delay at least.
int duree_diapo(int delai, int duree_son, bool attendre_fin_son);
