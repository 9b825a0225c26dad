#include "Poubelle.h"
#include "curseurs.h"
#include "ecran.h"
#include "script_systeme.h"

#include <QHBoxLayout>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString DOSSIER = QStringLiteral("/depart/");

class Poubelle : public ::testing::Test {
protected:
    void SetUp() override
    {
        poubelle.fixe_dossier_sons(DOSSIER);
        poubelle.fixe_etat(true);
    }

    QImage image() const { return poubelle.pixmap().toImage(); }

    ScriptSysteme script;
    TPOUBELLE poubelle;
    QSignalSpy demandes{&poubelle, &TPOUBELLE::suppression_demandee};
};

TEST_F(Poubelle, GaucheDroitJoueLesSonsDuDossierEtDemandeLaSuppression)
{
    QTest::mouseClick(&poubelle, Qt::LeftButton);
    EXPECT_EQ(poubelle.toolTip(), "Confirmer(Droit) - Annuler(Gauche)");
    EXPECT_EQ(demandes.count(), 0);
    QTest::mouseClick(&poubelle, Qt::RightButton);
    EXPECT_EQ(script.sons, QStringList({DOSSIER + "alumette.wav", DOSSIER + "feu.wav"}));
    EXPECT_EQ(demandes.count(), 1);
    EXPECT_EQ(poubelle.toolTip(), "Cliquez pour supprimer");
}

TEST_F(Poubelle, UnBoutonRelacheHorsDeLaPoubelleNeComptePas)
{
    QTest::mousePress(&poubelle, Qt::LeftButton);
    QTest::mouseRelease(&poubelle, Qt::LeftButton, {}, QPoint(-5, 10));
    EXPECT_TRUE(script.sons.isEmpty());
    EXPECT_FALSE(poubelle.etat().arme());
}

TEST_F(Poubelle, LAnimationTourneSurSaMinuterieEtFinitSurLaPoubelleVide)
{
    const QImage pleine = image();
    poubelle.fixe_etat(false);
    const QImage vide = image();
    ASSERT_FALSE(pleine.isNull());
    ASSERT_FALSE(vide.isNull());
    EXPECT_NE(pleine, vide);
    EXPECT_EQ(poubelle.cursor().pixmap().toImage(), curseur_ecran(103).pixmap().toImage());

    poubelle.fixe_etat(true);
    poubelle.clic(Qt::LeftButton);
    poubelle.clic(Qt::RightButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return poubelle.etat().compteur() == 1; }, 2000));
    const QImage premiere = image();
    EXPECT_NE(premiere, pleine);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !poubelle.etat().anime(); }, 5000));
    EXPECT_EQ(image(), vide);
}

TEST_F(Poubelle, EtatsAEcran)
{
    QWidget planche;
    auto *ligne = new QHBoxLayout(&planche);
    auto ajoute = [&] {
        auto *copie = new QLabel(&planche);
        copie->setPixmap(poubelle.pixmap());
        copie->setToolTip(poubelle.toolTip());
        copie->setFixedSize(poubelle.size());
        copie->setAlignment(Qt::AlignCenter);
        copie->setFrameShape(QFrame::Box);
        ligne->addWidget(copie);
        EXPECT_FALSE(poubelle.pixmap().isNull());
    };
    ajoute();  // full
    poubelle.clic(Qt::LeftButton);
    poubelle.clic(Qt::RightButton);
    for (int tic = 1; tic <= 13; ++tic) {
        poubelle.animationTimer();
        ajoute();
    }
    poubelle.fixe_etat(false);
    ajoute();
    planche.adjustSize();
    capture_ecran(&planche, QStringLiteral("poubelle_etats"));
}

}  // namespace
