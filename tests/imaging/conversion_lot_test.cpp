#include "conversion_lot.h"
#include "ecran.h"
#include "script_systeme.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

namespace {

// Two threads, one target for all: the last entry's picture stays, every result
// arrives once and in order, and an unreadable entry is reported where it stands.
TEST(ConversionLot, DeuxFilsDonnentLeResultatDeLOrdreDeLaListe)
{
    DossierTemporaire dossier;
    ScriptSysteme script;
    QList<ConversionFichier> lot;
    for (int k = 0; k < 9; ++k) {
        const QString source = dossier.chemin(QStringLiteral("s%1.bmp").arg(k));
        if (k != 4) {
            QImage image(300 + 40 * k, 200, QImage::Format_RGB32);
            image.fill(QColor(20 * k, 0, 0));
            ASSERT_TRUE(image.save(source, "BMP"));
        }
        lot.append({source, dossier.chemin("CIBLE.PNG")});
    }
    ReglagesConversion reglages;
    reglages.format = sky::Format::Png;
    QList<int> ordre;
    convertit_lot(lot, reglages, 2, [&](int k, const IssueConversion &issue) {
        ordre.append(k);
        EXPECT_EQ(issue.reussie(), k != 4) << k;
        if (!issue.reussie())
            signale_echec(lot[k], reglages, issue);
    });
    EXPECT_EQ(ordre, (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    const QImage resultat(dossier.chemin("CIBLE.PNG"));
    EXPECT_EQ(resultat.width(), 300 + 40 * 8);
    EXPECT_EQ(qRed(resultat.pixel(5, 5)), 160);
    ASSERT_EQ(script.boites.size(), 2);
    EXPECT_EQ(script.boites[0].texte, FailureWithFile(sky::FileNotFound, lot[4].source));
    EXPECT_EQ(script.boites[1].texte, "Reading bmp file failed");
}

// A source cut short is shown as far as it was read, reported by name, and its
// target never written.
TEST(ConversionLot, UneSourceIncompleteNEstPasEcrite)
{
    DossierTemporaire dossier;
    ScriptSysteme script;
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QString source = dossier.chemin("COUPEE.JPG");
    ASSERT_TRUE(image.save(source, "JPG", 90));
    QFile fichier(source);
    ASSERT_TRUE(fichier.resize(fichier.size() / 2));
    const QList<ConversionFichier> lot = {{source, dossier.chemin("COUPEE.PNG")}};
    ReglagesConversion reglages;
    reglages.format = sky::Format::Png;
    convertit_lot(lot, reglages, 1, [&](int, const IssueConversion &issue) {
        EXPECT_EQ(issue.lecture, sky::Truncated);
        EXPECT_EQ(issue.image.size(), QSize(400, 300));
        signale_echec(lot[0], reglages, issue);
    });
    EXPECT_FALSE(QFile::exists(lot[0].cible));
    ASSERT_FALSE(script.boites.isEmpty());
    EXPECT_EQ(script.boites[0].texte, FailureWithFile(sky::Truncated, source));
}

}  // namespace
