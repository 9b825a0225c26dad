#include "defilement.h"

#include <QString>
#include <algorithm>

int diapo_apres(Mouvement mouvement, int courante, int n)
{
    switch (mouvement) {
    case Mouvement::Premiere:
        return 1;
    case Mouvement::Derniere:
        return n;
    case Mouvement::Suivante:
    case Mouvement::Minuterie:
        return courante + 1 > n ? 1 : courante + 1;
    case Mouvement::Precedente:
        return courante - 1 < 1 ? n : courante - 1;
    }
    return 1;
}

QPoint place_pave(QSize fenetre) { return {fenetre.width() - 120, fenetre.height() - 40}; }

QPoint centre_sur(const QRect &principale, QSize dialogue)
{
    // Integer halves round toward zero, as the fraction is dropped.
    return {principale.left() + (principale.width() - dialogue.width()) / 2,
            principale.top() + (principale.height() - dialogue.height()) / 2};
}

int delai_saisi(const QString &texte)
{
    bool ok = false;
    const qlonglong valeur = texte.trimmed().toLongLong(&ok);
    if (!ok)
        return 1;
    return int(std::clamp<qlonglong>(valeur, 1, 60));
}

int duree_diapo(int delai, int duree_son, bool attendre_fin_son)
{
    return attendre_fin_son ? std::max(delai, duree_son) : delai;
}
