// The sample slideshow shipped with the program, opened as a user opens it.
#include "ecran.h"
#include "fichier_sli.h"
#include "main.h"
#include "script_systeme.h"
#include "sky.h"

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
    EXPECT_EQ(forme.diapo_courante, 1);

    QStringList types;
    bool son = false;
    bool accents = false;
    for (int k = 1; k < nombre_fiches(); ++k) {
        lit_fiche(k);
        const QString image = fiche.chemin_image.valeur();
        EXPECT_TRUE(image.startsWith(dossier_depart)) << image.toStdString();
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
        EXPECT_TRUE(QFileInfo::exists(dossier_depart + QString::fromLatin1(nom))) << nom;
    EXPECT_TRUE(script.boites.isEmpty());
    ferme_fichier_sli();
}

}  // namespace
