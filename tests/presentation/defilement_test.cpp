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

TEST(Defilement, UneDiapositiveSonoreResteJusquALaFinDeSonSonSiLOnAttend)
{
    struct Cas { int delai, son; bool attendre; int attendue; };
    for (const Cas &c : {Cas{1000, 3000, true, 3000}, Cas{1000, 3000, false, 1000}, Cas{5000, 3000, true, 5000},
                         Cas{2000, 0, true, 2000}})
        EXPECT_EQ(duree_diapo(c.delai, c.son, c.attendre), c.attendue) << c.delai << " " << c.son << " " << c.attendre;
}

}  // namespace
