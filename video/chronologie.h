// When each slide of a show comes up and how long it stays, and when each sound
// plays, as the automatic show paces them: values in, values out.
#pragma once

#include <QList>

struct DiapoMinutee {
    double debut = 0;  // seconds from the start of the show
    double duree = 0;
};

// A slide's sound, from its slide's start until it ends by itself or the next
// sound starts (the player stops the previous one), whichever comes first.
struct SonPlace {
    int diapo = 0;  // index into the slides
    double debut = 0;
    double fin = 0;
};

struct Chronologie {
    QList<DiapoMinutee> diapos;
    QList<SonPlace> sons;
    double duree = 0;
};

// `durees_son[i]`: the length in seconds of slide i's sound, negative for a slide
// without one. Each slide stays `delai` seconds; with `attendre_fin_son`, a slide
// with a sound stays until its sound has ended and at least the delay has passed.
// A slide without a sound lets the earlier sound run on.
Chronologie chronologie(const QList<double> &durees_son, double delai, bool attendre_fin_son);
