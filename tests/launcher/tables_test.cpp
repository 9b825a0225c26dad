#include "copie.h"
#include "tables.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lanceur;

namespace {

TEST(Tables, TheArchiveLandsInTheChosenFolderWithOneSeparator)
{
    const std::pair<const char *, const char *> cas[] = {
        {"/", "/Tarvik32.zip"},
        {"/media/cdrom", "/media/cdrom/Tarvik32.zip"},
        {"/home/anne/", "/home/anne/Tarvik32.zip"},
    };
    for (const auto &[dossier, cible] : cas)
        EXPECT_EQ(cible_copie(QString::fromLatin1(dossier)), QString::fromLatin1(cible)) << dossier;
}

TEST(Tables, TheDemonstrationWaitLastsOneToTwoSecondsAndEndsOnAWholeSecond)
{
    for (int msec : {0, 1, 470, 999}) {
        const int attente = duree_attente(msec);
        EXPECT_GE(attente, 1000) << msec;
        EXPECT_LE(attente, 2000) << msec;
        // The whole-second clock has moved on by at least 1.47 s when the wait ends.
        EXPECT_EQ((msec + attente) % 1000, 0) << msec;
        EXPECT_GE((msec + attente) / 1000 * 1000, 1470) << msec;
    }
}

QByteArray contenu(const QString &chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void ecrit(const QString &chemin, const QByteArray &octets)
{
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(octets);
}

TEST(Copie, TheWholeFileReplacesTheTargetAndAFailureLeavesTheFolderAsItWas)
{
    QTemporaryDir source, cible;
    const QString archive = source.filePath(QStringLiteral("Tarvik32.zip"));
    const QString copie = cible.filePath(QStringLiteral("Tarvik32.zip"));
    QByteArray octets(3 << 20, '\0');
    for (int i = 0; i < octets.size(); ++i)
        octets[i] = char(i * 7);
    ecrit(archive, octets);
    ecrit(copie, "ancienne version, plus longue que rien");

    EXPECT_FALSE(copie_fichier(source.filePath(QStringLiteral("absent.zip")), copie));
    EXPECT_EQ(contenu(copie), QByteArray("ancienne version, plus longue que rien"));
    EXPECT_TRUE(copie_fichier(archive, copie));
    EXPECT_EQ(contenu(copie), octets);
    EXPECT_EQ(QDir(cible.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Tarvik32.zip"});

    EXPECT_FALSE(copie_fichier(archive, cible.filePath(QStringLiteral("absent/Tarvik32.zip"))));
}

}  // namespace
