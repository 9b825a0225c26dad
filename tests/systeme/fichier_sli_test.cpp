#include "couleurs.h"
#include "cp1252.h"
#include "ecran.h"
#include "erreurs.h"
#include "fichier_sli.h"
#include "script_systeme.h"

#include <QFile>
#include <QGuiApplication>
#include <QPalette>
#include <gtest/gtest.h>

namespace {

QByteArray contenu(const QString &chemin)
{
    QFile f(chemin);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

qint32 entier32(const QByteArray &o, int position)
{
    return qFromLittleEndian<qint32>(o.constData() + position);
}

qint16 entier16(const QByteArray &o, int position)
{
    return qFromLittleEndian<qint16>(o.constData() + position);
}

class FichierSli : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (fichier_sli_ouvert())
            ferme_fichier_sli();
    }

    // A slideshow of `n` slides whose images are named "1.JPG", "2.JPG", ...
    void cree_diaporama(int n)
    {
        ouvre_fichier_sli(chemin);
        for (int k = 1; k <= n; ++k) {
            ajoute_fiche();
            fiche.chemin_image.affecte(QString::number(k) + QStringLiteral(".JPG"));
            ecrit_fiche(k);
        }
    }

    QStringList images()
    {
        QStringList noms;
        for (int k = 1; k < nombre_fiches(); ++k) {
            lit_fiche(k);
            noms << fiche.chemin_image.valeur();
        }
        return noms;
    }

    DossierTemporaire dossier;
    QString chemin = dossier.chemin(QStringLiteral("essai.sli"));
};

TEST_F(FichierSli, UnNomNouveauDonneUneFicheDeReglagesAuxValeursParDefaut)
{
    ouvre_fichier_sli(chemin);
    ferme_fichier_sli();
    const QByteArray o = contenu(chemin);
    ASSERT_EQ(o.size(), 987);
    EXPECT_EQ(o[0], 0);     // chemin_image
    EXPECT_EQ(o[81], 0);    // commentaire
    EXPECT_EQ(o[337], 0);   // reserve1
    EXPECT_EQ(o[593], 0);   // reserve2
    EXPECT_EQ(o[849], 0);   // chemin_son
    EXPECT_EQ(entier32(o, 930), 0);
    EXPECT_EQ(entier16(o, 934), 1);
    EXPECT_EQ(entier16(o, 936), 10);
    EXPECT_EQ(o.mid(938, 7), QByteArray("\x06System", 7));
    EXPECT_EQ(quint32(entier32(o, 979)), 0x80000002u);
    EXPECT_EQ(o[983], 0);
    EXPECT_EQ(entier16(o, 984), 1);
    EXPECT_EQ(o[986], 0);
}

TEST_F(FichierSli, InsererEnTeteDecaleLesDiapositives)
{
    cree_diaporama(3);
    insere_fiche(1);
    EXPECT_EQ(nombre_fiches(), 5);
    EXPECT_EQ(images(), (QStringList{QString(), "1.JPG", "2.JPG", "3.JPG"}));
}

TEST_F(FichierSli, SupprimerLaDerniereTronqueEtLaPremiereDecale)
{
    cree_diaporama(3);
    supprime_diapo(3);
    EXPECT_EQ(nombre_fiches(), 3);
    EXPECT_EQ(QFile(chemin).size(), 3 * 987);
    EXPECT_EQ(images(), (QStringList{"1.JPG", "2.JPG"}));

    ajoute_fiche();
    fiche.chemin_image.affecte(QStringLiteral("3.JPG"));
    ecrit_fiche(3);
    supprime_diapo(1);
    EXPECT_EQ(nombre_fiches(), 3);
    EXPECT_EQ(images(), (QStringList{"2.JPG", "3.JPG"}));
}

TEST_F(FichierSli, UneNouvelleDiapoPrendLesReglagesDeLaFiche0SaufToutesDiapos)
{
    ouvre_fichier_sli(chemin);
    lit_fiche(0);
    fiche.couleur_texte = 0x00FF00;
    fiche.style_texte = 4;
    fiche.taille_texte = 24;
    fiche.police.affecte(QStringLiteral("Times New Roman"));
    fiche.couleur_fond = 0x123456;
    fiche.fond_transparent = 1;
    fiche.position_texte = 2;
    fiche.toutes_diapos = 1;
    ecrit_fiche(0);

    fiche.toutes_diapos = 0;  // what the buffer held before the new slide
    const int k = ajoute_fiche();
    lit_fiche(k);
    EXPECT_EQ(fiche.couleur_texte, 0x00FF00);
    EXPECT_EQ(fiche.style_texte, 4);
    EXPECT_EQ(fiche.taille_texte, 24);
    EXPECT_EQ(fiche.police.valeur(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(fiche.couleur_fond, 0x123456);
    EXPECT_EQ(fiche.fond_transparent, 1);
    EXPECT_EQ(fiche.position_texte, 2);
    EXPECT_EQ(fiche.toutes_diapos, 0);
    EXPECT_TRUE(fiche.chemin_image.est_vide());
}

TEST_F(FichierSli, SeulesLesFichesEntieresComptent)
{
    cree_diaporama(2);
    ferme_fichier_sli();
    {
        QFile f(chemin);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(QByteArray(100, 'x'));
    }
    ouvre_fichier_sli(chemin);
    EXPECT_EQ(nombre_fiches(), 3);
    EXPECT_EQ(QFile(chemin).size(), 3 * 987 + 100);  // opening an existing file changes nothing
}

TEST_F(FichierSli, LesErreursDEntreeSortieArriventDansLaBoiteGenerale)
{
    ScriptSysteme script;
    cree_diaporama(1);
    EXPECT_FALSE(erreurs::sous_garde([] { lit_fiche(2); }));
    ferme_fichier_sli();
    EXPECT_FALSE(erreurs::sous_garde([] { lit_fiche(0); }));
    EXPECT_FALSE(erreurs::sous_garde([] { ecrit_fiche(0); }));
    EXPECT_EQ(script.textes_boites(),
              (QStringList{"Lecture au delà de la fin de fichier", "Erreur E/S 103",
                           "Erreur E/S 103"}));
    EXPECT_EQ(script.boites[0].type, systeme::TypeBoite::Erreur);
}

TEST_F(FichierSli, UnFichierQuOnNePeutCreerEstSignaleEtRienNEstOuvert)
{
    ScriptSysteme script;
    const QString impossible = dossier.chemin(QStringLiteral("absent/essai.sli"));
    EXPECT_FALSE(erreurs::sous_garde([&] { ouvre_fichier_sli(impossible); }));
    EXPECT_FALSE(fichier_sli_ouvert());
    EXPECT_EQ(script.textes_boites(), QStringList{"Fichier introuvable"});
}

TEST_F(FichierSli, LesTextesAccentuesSontStockesEnWindows1252)
{
    ouvre_fichier_sli(chemin);
    const int k = ajoute_fiche();
    ASSERT_TRUE(fiche.commentaire.affecte(QStringLiteral("Été à Noël – 5 €")));
    ASSERT_TRUE(fiche.chemin_image.affecte(QStringLiteral("/photos/forêt/Chênes.jpg")));
    ecrit_fiche(k);
    ferme_fichier_sli();

    const QByteArray o = contenu(chemin).mid(987);
    const QByteArray attendu("\xC9t\xE9 \xE0 No\xEBl \x96 5 \x80");
    EXPECT_EQ(quint8(o[81]), attendu.size());
    EXPECT_EQ(o.mid(82, attendu.size()), attendu);
    EXPECT_EQ(o.mid(1, 24), QByteArray("/photos/for\xEAt/Ch\xEAnes.jpg"));

    ouvre_fichier_sli(chemin);
    lit_fiche(1);
    EXPECT_EQ(fiche.commentaire.valeur(), QStringLiteral("Été à Noël – 5 €"));
    EXPECT_EQ(fiche.chemin_image.valeur(), QStringLiteral("/photos/forêt/Chênes.jpg"));
}

TEST(ChaineCourte, RefuseCeQueWindows1252NePeutPasEcrireEtCoupeLeReste)
{
    FicheDiapo f{};
    ASSERT_TRUE(f.chemin_image.affecte(QStringLiteral("a.jpg")));
    EXPECT_FALSE(f.chemin_image.affecte(QStringLiteral("/photos/日本.jpg")));
    EXPECT_EQ(f.chemin_image.valeur(), QStringLiteral("a.jpg"));

    ASSERT_TRUE(f.police.affecte(QString(50, QLatin1Char('P'))));
    EXPECT_EQ(f.police.valeur().size(), 40);
    ASSERT_TRUE(f.commentaire.affecte(QString(300, QLatin1Char('c'))));
    EXPECT_EQ(f.commentaire.valeur().size(), 255);
}

TEST(ChaineCourte, UnCheminRefuseDitPourquoi)
{
    const struct {
        QString chemin;
        const char *raison;
    } cas[] = {{QStringLiteral("/photos/\u0444\u043e\u0442\u043e.jpg"), "un caractère que le fichier du diaporama"},
               {QStringLiteral("/photos/") + QString(90, QLatin1Char('a')) + QStringLiteral(".jpg"),
                "80 caractères au plus"}};
    for (const auto &c : cas) {
        ScriptSysteme script;
        ChaineCourte<80> champ{};
        EXPECT_FALSE(stocke_chemin(champ, c.chemin));
        ASSERT_EQ(script.textes_boites().size(), 1);
        EXPECT_TRUE(script.textes_boites()[0].contains(QString::fromUtf8(c.raison)))
            << script.textes_boites()[0].toStdString();
        EXPECT_TRUE(champ.est_vide());
    }
}

TEST(ChaineCourte, UneLongueurEndommageeSeLitCommeLaCapacite)
{
    FicheDiapo f{};
    f.police.affecte(QStringLiteral("Arial"));
    f.police.longueur = 200;  // a damaged file: beyond the 40-byte field
    EXPECT_EQ(f.police.valeur().size(), 40);
    EXPECT_TRUE(f.police.valeur().startsWith(QStringLiteral("Arial")));
}

TEST(Cp1252, ToutOctetFaitLAllerRetour)
{
    QByteArray tous;
    for (int i = 0; i < 256; ++i)
        tous.append(char(i));
    const auto retour = vers_cp1252(depuis_cp1252(tous));
    ASSERT_TRUE(retour.has_value());
    EXPECT_EQ(*retour, tous);
}

TEST(StylePolice, CodesEtStyles)
{
    EXPECT_EQ(style_vers_code(0), 1);
    EXPECT_EQ(style_vers_code(Gras), 2);
    EXPECT_EQ(style_vers_code(Italique), 3);
    EXPECT_EQ(style_vers_code(Gras | Italique), 4);
    EXPECT_EQ(style_vers_code(Gras | Souligne), 1);
    EXPECT_EQ(style_vers_code(Barre), 1);
    EXPECT_EQ(code_vers_style(4.9), Gras | Italique);
    EXPECT_EQ(code_vers_style(2.0), Gras);
    EXPECT_EQ(code_vers_style(3.5), Italique);
    EXPECT_EQ(code_vers_style(7), 0);
    EXPECT_EQ(code_vers_style(0), 0);
}

TEST(Couleurs, LesCouleursSystemeSontDesRolesDeLaPalette)
{
    EXPECT_EQ(vers_qcolor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(vers_qcolor(0x804020), QColor(0x20, 0x40, 0x80));
    EXPECT_EQ(vers_qcolor(clActiveCaption), QGuiApplication::palette().color(QPalette::Highlight));
    EXPECT_EQ(depuis_qcolor(QColor(1, 2, 3)), 0x030201);
}

}  // namespace
