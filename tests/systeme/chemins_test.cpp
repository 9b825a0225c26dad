#include "chemins.h"

#include <gtest/gtest.h>

namespace {

TEST(Relocalisation, UnCheminTropLongGardeLeNomSeulEtUnDossierIllisibleEstRefuse)
{
    const QString long_dossier = QStringLiteral("/") + QString(75, QLatin1Char('d')) + QStringLiteral("/");
    EXPECT_EQ(chemin_relocalise(QStringLiteral("/demo/"), QStringLiteral("C:\\X\\A.JPG")),
              QStringLiteral("/demo/A.JPG"));
    EXPECT_EQ(chemin_relocalise(long_dossier, QStringLiteral("C:\\X\\PLAGE.JPG")),
              QStringLiteral("PLAGE.JPG"));
    EXPECT_EQ(chemin_relocalise(QStringLiteral("/写真/"), QStringLiteral("A.JPG")),
              QStringLiteral("A.JPG"));
    EXPECT_EQ(chemin_relocalise(QStringLiteral("/x/"), QStringLiteral("写真.JPG")), QString());
}

TEST(NomDeFichier, PartieNomDUnChemin)
{
    EXPECT_EQ(extrait_fichier(QString()), QStringLiteral("Pas de photo"));
    EXPECT_EQ(extrait_fichier(QStringLiteral("PHOTO.JPG")), QStringLiteral("PHOTO.JPG"));
    EXPECT_EQ(extrait_fichier(QStringLiteral("C:\\MES PHOTOS\\A.BMP")), QStringLiteral("A.BMP"));
    EXPECT_EQ(extrait_fichier(QStringLiteral("C:\\PHOTOS\\MER 1.JPG")), QStringLiteral("1.JPG"));
    EXPECT_EQ(extrait_fichier(QStringLiteral("/home/a/b.png")), QStringLiteral("b.png"));
    EXPECT_EQ(nom_seul(QStringLiteral("C:\\PHOTOS\\MER 1.JPG")), QStringLiteral("MER 1.JPG"));
}

TEST(NomDeFichier, NomsSousLesquelsUneImageEstConvertieOuChargee)
{
    EXPECT_EQ(nom_de_base_converti(QStringLiteral("/x/photo1.bmp")), QStringLiteral("PHOTO1"));
    EXPECT_EQ(nom_de_base_converti(QStringLiteral("C:\\A\\vacances.ete.2024.jpg")), QStringLiteral("VACANCES"));
    EXPECT_EQ(nom_de_base_converti(QStringLiteral("abcdefghijklmnopq.png")), QStringLiteral("ABCDEFGHIJKLM"));
    EXPECT_EQ(nom_sans_lecteur(QStringLiteral("C:LOGO.RES")), QStringLiteral("LOGO.RES"));
}

}  // namespace
