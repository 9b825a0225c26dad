#include "chronologie.h"

#include <algorithm>

Chronologie chronologie(const QList<double> &durees_son, double delai, bool attendre_fin_son)
{
    Chronologie c;
    double t = 0;
    for (int i = 0; i < durees_son.size(); ++i) {
        const double son = durees_son[i];
        const double duree = attendre_fin_son && son > 0 ? std::max(delai, son) : delai;
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
