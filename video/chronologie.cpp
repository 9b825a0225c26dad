#include "chronologie.h"

#include "defilement.h"

#include <algorithm>

Chronologie chronologie(const QList<double> &durees_son, double delai, bool attendre_fin_son)
{
    Chronologie c;
    double t = 0;
    for (int i = 0; i < durees_son.size(); ++i) {
        const double son = durees_son[i];
        // The player's rule, in its milliseconds.
        const double duree =
            duree_diapo(qRound(delai * 1000), qRound(std::max(son, 0.0) * 1000), attendre_fin_son) / 1000.0;
        c.diapos.append({t, duree});
        if (son >= 0) {
            if (!c.sons.isEmpty())
                c.sons.last().fin = std::min(c.sons.last().fin, t);
            c.sons.append({i, t, t + son});
        }
        t += duree;
    }
    c.duree = t;
    if (!c.sons.isEmpty())
        c.sons.last().fin = std::min(c.sons.last().fin, t);
    return c;
}
