#include "etat_poubelle.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

using B = BoutonPoubelle;

struct Sequence {
    const char *nom;
    bool plein;
    std::vector<B> clics;
    QStringList sons;
    int suppressions;
    QString bulle;
    int curseur;
};

class SequencesDeClics : public ::testing::TestWithParam<Sequence> {};

TEST_P(SequencesDeClics, SonsDemandeEtAspect)
{
    const Sequence &s = GetParam();
    EtatPoubelle poubelle;
    poubelle.fixe_plein(s.plein);
    QStringList sons;
    int suppressions = 0;
    for (B b : s.clics) {
        const ReactionClic r = poubelle.clic(b);
        if (!r.son.isEmpty())
            sons << r.son;
        suppressions += r.suppression;
    }
    EXPECT_EQ(sons, s.sons);
    EXPECT_EQ(suppressions, s.suppressions);
    EXPECT_EQ(poubelle.anime(), s.suppressions > 0);
    EXPECT_EQ(poubelle.bulle(), s.bulle);
    EXPECT_EQ(poubelle.curseur(), s.curseur);
}

const QString VIDE = QStringLiteral("LA POUBELLE EST VIDE");
const QString SUPPRIMER = QStringLiteral("Cliquez pour supprimer");
const QString CONFIRMER = QStringLiteral("Confirmer(Droit) - Annuler(Gauche)");

INSTANTIATE_TEST_SUITE_P(
    Poubelle, SequencesDeClics,
    ::testing::Values(
        Sequence{"GaucheDroitSupprime", true, {B::Gauche, B::Droit}, {"alumette.wav", "feu.wav"}, 1,
                 SUPPRIMER, 101},
        Sequence{"GaucheGaucheAnnule", true, {B::Gauche, B::Gauche}, {"alumette.wav", "stop.wav"}, 0,
                 SUPPRIMER, 101},
        Sequence{"GaucheArme", true, {B::Gauche}, {"alumette.wav"}, 0, CONFIRMER, 102},
        Sequence{"DroitSeulNeFaitRien", true, {B::Droit, B::Droit}, {}, 0, SUPPRIMER, 101},
        Sequence{"AutreBoutonNeDesarmePas", true, {B::Gauche, B::Autre}, {"alumette.wav"}, 0,
                 CONFIRMER, 102},
        Sequence{"VideIgnoreTout", false, {B::Gauche, B::Droit, B::Gauche}, {}, 0, VIDE, 103}),
    [](const auto &info) { return std::string(info.param.nom); });

TEST(EtatPoubelle, LAnimationMontre1A11TientLe11EtFinitSurLaPoubelleVide)
{
    EtatPoubelle poubelle;
    poubelle.fixe_plein(true);
    poubelle.clic(B::Gauche);
    poubelle.clic(B::Droit);
    // The main window sets the state again right after the removal, before the first tick.
    poubelle.fixe_plein(true);
    QStringList images;
    for (int tic = 1; tic <= 13; ++tic) {
        EXPECT_EQ(poubelle.tic(), tic != 12) << tic;
        images << poubelle.image();
    }
    QStringList attendues;
    for (int k = 1; k <= 11; ++k)
        attendues << QStringLiteral("poubelle%1").arg(k);
    attendues << "poubelle11" << "poubelle12";
    EXPECT_EQ(images, attendues);
    EXPECT_FALSE(poubelle.anime());
    EXPECT_EQ(poubelle.compteur(), 0);
    EXPECT_FALSE(poubelle.tic());
    EXPECT_EQ(poubelle.image(), "poubelle12");
}

TEST(EtatPoubelle, UnePoubelleVideOublieQuElleEtaitArmee)
{
    EtatPoubelle poubelle;
    poubelle.fixe_plein(true);
    poubelle.clic(B::Gauche);
    poubelle.fixe_plein(false);
    poubelle.fixe_plein(true);
    EXPECT_FALSE(poubelle.clic(B::Droit).suppression);
    EXPECT_EQ(poubelle.bulle(), SUPPRIMER);
}

}  // namespace
