#include "regles_planche.h"

#include "reduction.h"

#include <algorithm>

namespace {

constexpr int COLONNES = 4;
constexpr QSize TAILLE_CADRE(154, 135);
constexpr QSize ZONE_REDUCTION(145, 110);
constexpr QSize ZONE_CENTRAGE(149, 114);
constexpr int MARGE = 2;

}  // namespace

QRect rectangle_cadre(int emplacement)
{
    const int rang = emplacement - 1;
    return QRect(QPoint(2 + 156 * (rang % COLONNES), 2 + 137 * (rang / COLONNES)), TAILLE_CADRE);
}

QSize zone_vignette() { return ZONE_REDUCTION; }

PlacementVignette place_vignette(QSize image)
{
    const Reduction r = image.isEmpty() ? Reduction{false, QSize(0, 0)} : reduit(image, ZONE_REDUCTION);
    const QPoint coin(MARGE + (ZONE_CENTRAGE.width() - r.taille.width()) / 2,
                      MARGE + (ZONE_CENTRAGE.height() - r.taille.height()) / 2);
    return {r.etire, QRect(coin, r.taille)};
}

QSize taille_droite(QSize fichier, QSize lue)
{
    const auto paysage = [](QSize s) { return s.width() > s.height(); };
    const auto portrait = [](QSize s) { return s.width() < s.height(); };
    const bool tournee = (paysage(fichier) && portrait(lue)) || (portrait(fichier) && paysage(lue));
    return tournee ? fichier.transposed() : fichier;
}

int valeur_jauge(int passe, int diapos)
{
    const int total = std::min(diapos, VIGNETTES_PAR_PLANCHE);
    return total <= 0 ? 100 : std::min(100, passe * 100 / total);
}

int NavigationPlanche::nombre_pages() const
{
    return std::max(1, (diapos_ + VIGNETTES_PAR_PLANCHE - 1) / VIGNETTES_PAR_PLANCHE);
}

int NavigationPlanche::diapo(int emplacement) const
{
    const int numero = (page_ - 1) * VIGNETTES_PAR_PLANCHE + emplacement;
    return emplacement >= 1 && emplacement <= VIGNETTES_PAR_PLANCHE && numero <= diapos_ ? numero : 0;
}

bool NavigationPlanche::precedente()
{
    if (page_ <= 1)
        return false;
    --page_;
    return true;
}

bool NavigationPlanche::suivante()
{
    if (page_ >= nombre_pages())
        return false;
    ++page_;
    return true;
}

void NavigationPlanche::debut()
{
    page_ = 1;
    selection_ = 1;
}
