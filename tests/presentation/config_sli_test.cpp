#include "config_sli.h"
#include "ecran.h"
#include "erreurs.h"
#include "script_systeme.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

class ConfigSli : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixe_dossier_config(dossier.chemin() + QLatin1Char('/'));
        reglages = ReglagesPresentation{};
    }

    QByteArray contenu()
    {
        QFile f(chemin_config());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

    DossierTemporaire dossier;
};

TEST_F(ConfigSli, UnFichierAbsentEstCreeAvecLesValeursParDefaut)
{
    reglages = {1, 2, 33};
    lit_config();
    EXPECT_EQ(reglages.mode_defilement, 2);
    EXPECT_EQ(reglages.controle, 1);
    EXPECT_EQ(reglages.delai, 10);
    const QByteArray o = contenu();
    ASSERT_EQ(o.size(), 49);
    EXPECT_EQ(o.left(43), QByteArray(43, '\0'));
    EXPECT_EQ(qFromLittleEndian<qint16>(o.constData() + 43), 2);
    EXPECT_EQ(qFromLittleEndian<qint16>(o.constData() + 45), 1);
    EXPECT_EQ(qFromLittleEndian<qint16>(o.constData() + 47), 10);
}

TEST_F(ConfigSli, LesOctetsReservesSontGardesEtLesReglagesRelus)
{
    QByteArray o(49, '\0');
    for (int i = 0; i < 43; ++i)
        o[i] = char('A' + i % 26);
    qToLittleEndian<qint16>(1, o.data() + 43);
    qToLittleEndian<qint16>(2, o.data() + 45);
    qToLittleEndian<qint16>(30, o.data() + 47);
    {
        QFile f(chemin_config());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(o);
    }
    lit_config();
    EXPECT_EQ(reglages.mode_defilement, 1);
    EXPECT_EQ(reglages.controle, 2);
    EXPECT_EQ(reglages.delai, 30);

    reglages.delai = 45;
    sauve_config();
    const QByteArray apres = contenu();
    EXPECT_EQ(apres.left(43), o.left(43));
    EXPECT_EQ(qFromLittleEndian<qint16>(apres.constData() + 47), 45);
}

TEST_F(ConfigSli, UnFichierEndommageEstNommeDansUneBoiteEtRemplaceParLesValeursParDefaut)
{
    {
        QFile f(chemin_config());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("court");
    }
    ScriptSysteme script;
    const auto ouverts = [] { return QDir(QStringLiteral("/proc/self/fd")).count(); };
    const uint avant = ouverts();
    reglages = {1, 2, 33};
    EXPECT_TRUE(erreurs::sous_garde(lit_config));
    ASSERT_EQ(script.boites.size(), 1);
    EXPECT_TRUE(script.boites[0].texte.contains(QDir::toNativeSeparators(chemin_config())));
    EXPECT_TRUE(script.boites[0].texte.contains("Lecture au delà de la fin de fichier"));
    EXPECT_EQ(ouverts(), avant);  // the file is closed
    EXPECT_EQ(reglages.mode_defilement, 2);
    EXPECT_EQ(reglages.controle, 1);
    EXPECT_EQ(reglages.delai, 10);
    const QByteArray o = contenu();
    ASSERT_EQ(o.size(), 49);
    EXPECT_EQ(qFromLittleEndian<qint16>(o.constData() + 47), 10);
    EXPECT_TRUE(erreurs::sous_garde(lit_config));
    EXPECT_EQ(script.boites.size(), 1);  // mended: no box the next time
}

TEST_F(ConfigSli, LAttenteDeLaFinDuSonTientDansLePremierOctetReserve)
{
    QByteArray ancien(49, '\0');
    ancien[5] = 'x';
    qToLittleEndian<qint16>(2, ancien.data() + 43);
    qToLittleEndian<qint16>(1, ancien.data() + 45);
    qToLittleEndian<qint16>(7, ancien.data() + 47);
    {
        QFile f(chemin_config());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ancien);
    }
    // A file from an older copy: 0 there, the show does not wait.
    lit_config();
    EXPECT_FALSE(reglages.attendre_fin_son);
    reglages.attendre_fin_son = true;
    sauve_config();
    QByteArray attendu = ancien;
    attendu[0] = 1;
    EXPECT_EQ(contenu(), attendu);
    reglages = ReglagesPresentation{};
    lit_config();
    EXPECT_TRUE(reglages.attendre_fin_son);
    EXPECT_EQ(reglages.delai, 7);
    reglages.attendre_fin_son = false;
    sauve_config();
    EXPECT_EQ(contenu(), ancien);
}

}  // namespace
