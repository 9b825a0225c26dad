#include "emplacements.h"

#include "ecran.h"
#include "fichier_sli.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

using namespace emplacements;

void ecrit_fichier(const QString &chemin, const QByteArray &octets = "x")
{
    QFile fichier(chemin);
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.write(octets);
}

TEST(Emplacements, LesFichiersDuProgrammeSontACoteDeLuiSinonDansLesSources)
{
    DossierTemporaire dossier;
    QDir(dossier.chemin()).mkpath(QStringLiteral("p/bin"));
    const QString programme = dossier.chemin(QStringLiteral("p/bin"));
    EXPECT_EQ(choisit_ressources(programme, QStringLiteral("/src/assets/demo")), QStringLiteral("/src/assets/demo/"));
    QDir(dossier.chemin()).mkpath(QStringLiteral("p/share/vistarama"));
    EXPECT_EQ(choisit_ressources(programme, QStringLiteral("/src/assets/demo/")),
              dossier.chemin(QStringLiteral("p/share/vistarama/")));
}

TEST(Emplacements, LesDossiersDeLUtilisateurSuiventLesVariablesXdg)
{
    DossierTemporaire dossier;
    qputenv("XDG_CONFIG_HOME", dossier.chemin(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", dossier.chemin(QStringLiteral("donnees")).toLocal8Bit());
    const QByteArray maison = qgetenv("HOME");
    qputenv("HOME", dossier.chemin().toLocal8Bit());
    EXPECT_EQ(dossier_config(), dossier.chemin(QStringLiteral("config/vistarama/")));
    EXPECT_TRUE(QFileInfo(dossier_config()).isDir());
    EXPECT_EQ(dossier_exemple(), dossier.chemin(QStringLiteral("donnees/vistarama/exemple/")));
    EXPECT_EQ(dossier_depart(), dossier.chemin() + QLatin1Char('/'));  // no pictures folder yet

    QDir(dossier.chemin()).mkpath(QStringLiteral("Mes photos"));
    ecrit_fichier(dossier.chemin(QStringLiteral("config/user-dirs.dirs")),
                  "XDG_PICTURES_DIR=\"$HOME/Mes photos\"\n");
    EXPECT_EQ(dossier_depart(), dossier.chemin(QStringLiteral("Mes photos/")));
    qputenv("HOME", maison);
}

TEST(Emplacements, LExempleEstCopieAvecLesFichiersQueNommentSesDiapositivesEtReste)
{
    DossierTemporaire dossier;
    const QString source = dossier.chemin(QStringLiteral("source/"));
    const QString cible = dossier.chemin(QStringLiteral("copie/exemple/"));
    QDir().mkpath(source);
    ouvre_fichier_sli(source + NOM_EXEMPLE);
    for (const auto &[image, son] : {std::pair{"C:\\DEMO\\A.JPG", "B.WAV"}, std::pair{"A.JPG", ""}}) {
        const int indice = ajoute_fiche();
        nouvelle_fiche();
        fiche.chemin_image.affecte(QString::fromLatin1(image));
        fiche.chemin_son.affecte(QString::fromLatin1(son));
        ecrit_fiche(indice);
    }
    ferme_fichier_sli();
    for (const char *nom : {"A.JPG", "B.WAV", "DOC.HLP"})
        ecrit_fichier(source + QString::fromLatin1(nom));
    QFile::setPermissions(source + NOM_EXEMPLE, QFileDevice::ReadOwner);

    EXPECT_TRUE(copie_exemple(source, cible));
    QStringList copies = QDir(cible).entryList(QDir::Files);
    copies.sort();
    EXPECT_EQ(copies, QStringList({"A.JPG", "B.WAV", NOM_EXEMPLE}));
    EXPECT_TRUE(QFileInfo(cible + NOM_EXEMPLE).isWritable());

    // The user's copy, changed, stays as it is on the next start.
    ecrit_fichier(cible + QStringLiteral("A.JPG"), "retouchée");
    QFile::remove(cible + QStringLiteral("B.WAV"));
    EXPECT_TRUE(copie_exemple(source, cible));
    EXPECT_FALSE(QFileInfo::exists(cible + QStringLiteral("B.WAV")));
    QFile::remove(cible + NOM_EXEMPLE);
    EXPECT_TRUE(copie_exemple(source, cible));
    QFile image(cible + QStringLiteral("A.JPG"));
    ASSERT_TRUE(image.open(QIODevice::ReadOnly));
    EXPECT_EQ(image.readAll(), QByteArray("retouchée"));
    EXPECT_TRUE(QFileInfo::exists(cible + QStringLiteral("B.WAV")));
}

}  // namespace
