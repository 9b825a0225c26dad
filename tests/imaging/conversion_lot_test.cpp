#include "conversion_lot.h"
#include "ecran.h"
#include "script_systeme.h"

#include <QDir>
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
            signale_echec(lot[k], issue);
    });
    EXPECT_EQ(ordre, (QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    const QImage resultat(dossier.chemin("CIBLE.PNG"));
    EXPECT_EQ(resultat.width(), 300 + 40 * 8);
    EXPECT_EQ(qRed(resultat.pixel(5, 5)), 160);
    // One box, naming the file.
    EXPECT_EQ(script.textes_boites(), QStringList{"Lecture de \"" + lot[4].source + "\" impossible :\n" +
                                                  sky::errorText(sky::FileNotFound)});
}

// A stop asked for between two files: the files done stay, nothing else is written or handed over.
TEST(ConversionLot, UnArretLaisseLesFichiersFaitsEtRienDAutre)
{
    DossierTemporaire dossier;
    QList<ConversionFichier> lot;
    QImage image(2000, 1500, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(dossier.chemin("s.bmp"), "BMP"));
    for (int k = 0; k < 6; ++k)
        lot.append({dossier.chemin("s.bmp"), dossier.chemin(QStringLiteral("C%1.PNG").arg(k))});
    ReglagesConversion reglages;
    reglages.format = sky::Format::Png;
    std::atomic_bool arret = false;
    QList<int> recus;
    convertit_lot(lot, reglages, 2, [&](int k, const IssueConversion &issue) {
        EXPECT_TRUE(issue.reussie());
        recus.append(k);
        if (k == 1)
            arret = true;
    }, &arret);
    EXPECT_EQ(recus, (QList<int>{0, 1}));
    const QStringList ecrits = QDir(dossier.chemin()).entryList({"*.PNG"}, QDir::Files);
    EXPECT_GE(ecrits.size(), 2);
    EXPECT_LT(ecrits.size(), 6);  // two threads, at most two results ahead: the last ones never started
    for (const QString &nom : ecrits)
        EXPECT_FALSE(QImage(dossier.chemin(nom)).isNull()) << nom.toStdString();  // whole or absent
    EXPECT_TRUE(QDir(dossier.chemin()).entryList(QDir::Files | QDir::Hidden).filter(".tmp").isEmpty());
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
        signale_echec(lot[0], issue);
    });
    EXPECT_FALSE(QFile::exists(lot[0].cible));
    EXPECT_EQ(script.textes_boites(), QStringList{"Lecture de \"" + source + "\" impossible :\n" +
                                                  sky::errorText(sky::Truncated)});
}

}  // namespace
