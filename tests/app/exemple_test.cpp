// The sample slideshow shipped with the program, opened as a user opens it.
#include "ecran.h"
#include "fichier_sli.h"
#include "application.h"
#include "main.h"
#include "script_systeme.h"
#include "sky.h"
#include "TMultiP.h"

#include <QLineEdit>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

TEST(Exemple, SesDiapositivesTrouventLeursImagesEtSonsDansLeDossierDeDemarrage)
{
    DossierTemporaire dossier;
    const QDir source(QStringLiteral(VISTA_ASSETS "/demo"));
    for (const QString &nom : source.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(source.filePath(nom), dossier.chemin(nom)));

    ScriptSysteme script;
    titre_application = QStringLiteral("Slideshow V2.32");
    TForm1 forme;
    forme.ouvre_diaporama(dossier.chemin(QStringLiteral("DEMO_KV.SLI")));
    ASSERT_GE(nombre_fiches(), 5);
    EXPECT_EQ(forme.diapo_courante(), 1);

    QStringList types;
    bool son = false;
    bool accents = false;
    for (int k = 1; k < nombre_fiches(); ++k) {
        const FicheDiapo fiche = copie_fiche(k);
        const QString image = fiche.chemin_image.valeur();
        EXPECT_TRUE(image.startsWith(dossier.chemin() + QLatin1Char('/'))) << image.toStdString();
        sky::FileInfo info;
        ASSERT_GT(sky::fileInfo(image, info), 0) << image.toStdString();
        types << info.type;
        if (!fiche.chemin_son.est_vide()) {
            son = true;
            EXPECT_TRUE(QFileInfo::exists(fiche.chemin_son.valeur()));
        }
        accents = accents || fiche.commentaire.valeur().contains(QRegularExpression(QStringLiteral("[éèêàôç]")));
    }
    EXPECT_TRUE(types.contains(QStringLiteral("JPEG")));
    EXPECT_TRUE(types.contains(QStringLiteral("PNG")));
    EXPECT_TRUE(types.contains(QStringLiteral("BMP")));
    EXPECT_TRUE(types.contains(QStringLiteral("GIF")));
    EXPECT_TRUE(son);
    EXPECT_TRUE(accents);
    for (const char *nom : {"DOC.HLP", "alumette.wav", "stop.wav", "feu.wav"})
        EXPECT_TRUE(QFileInfo::exists(dossier.chemin(QString::fromLatin1(nom)))) << nom;
    EXPECT_TRUE(script.boites.isEmpty());

    // The first slide's picture is in the preview, fitted into its frame.
    forme.resize(1000, 700);
    forme.show();
    forme.affiche_diapo();
    EXPECT_FALSE(forme.photo->Picture().isEmpty());
    EXPECT_TRUE(forme.photo->isVisible());
    EXPECT_LE(forme.photo->width(), forme.cadre_image->width() - 20);
    EXPECT_EQ(forme.texte->text(), QStringLiteral("Coucher de soleil sur la plage, un soir d'été"));
    capture_ecran(&forme, QStringLiteral("exemple"));

    // A slide whose picture has gone shows the empty frame and says so.
    QFile::remove(dossier.chemin(QStringLiteral("PLAGE.JPG")));
    forme.affiche_diapo();
    EXPECT_TRUE(forme.photo->Picture().isEmpty());
    ASSERT_EQ(script.boites.size(), 1);
    EXPECT_EQ(script.boites[0].texte, QStringLiteral("\"") + dossier.chemin(QStringLiteral("PLAGE.JPG")) +
                                          QStringLiteral("\"\nCette photo n'existe plus"));
    ferme_fichier_sli();
}

}  // namespace
