#include "defilement.h"

#include <QString>
#include <gtest/gtest.h>

namespace {

TEST(Defilement, ChaqueMouvementFaitLeTourDuDiaporama)
{
    struct Cas { Mouvement m; int courante, n, attendue; };
    const Cas cas[] = {
        {Mouvement::Suivante, 1, 1, 1},   {Mouvement::Precedente, 1, 1, 1},
        {Mouvement::Premiere, 1, 1, 1},   {Mouvement::Derniere, 1, 1, 1},
        {Mouvement::Minuterie, 1, 1, 1},  {Mouvement::Precedente, 1, 5, 5},
        {Mouvement::Suivante, 5, 5, 1},   {Mouvement::Minuterie, 5, 5, 1},
        {Mouvement::Suivante, 2, 5, 3},   {Mouvement::Precedente, 3, 5, 2},
        {Mouvement::Premiere, 4, 5, 1},   {Mouvement::Derniere, 2, 5, 5},
        {Mouvement::Minuterie, 3, 5, 4},
    };
    for (const Cas &c : cas)
        EXPECT_EQ(diapo_apres(c.m, c.courante, c.n), c.attendue)
            << int(c.m) << " depuis " << c.courante << " sur " << c.n;
}

TEST(Defilement, PaveEnBasADroiteEtDialogueCentreSansLaFraction)
{
    EXPECT_EQ(place_pave(QSize(800, 600)), QPoint(680, 560));
    EXPECT_EQ(centre_sur(QRect(10, 20, 1001, 701), QSize(122, 199)), QPoint(10 + 439, 20 + 251));
    // A main window smaller than the dialog: the half rounds toward zero.
    EXPECT_EQ(centre_sur(QRect(0, 0, 100, 100), QSize(161, 257)), QPoint(-30, -78));
}

TEST(Defilement, LeDelaiSaisiEstTenuEntreUnEtSoixante)
{
    for (const auto &[texte, delai] : std::initializer_list<std::pair<const char *, int>>{
             {"75", 60}, {"0", 1}, {"30", 30}, {"", 1}, {"abc", 1}, {"99999999999999999999", 1}})
        EXPECT_EQ(delai_saisi(QString::fromLatin1(texte)), delai) << texte;
}

}  // namespace
