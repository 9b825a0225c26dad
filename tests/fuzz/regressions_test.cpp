// Every input the fuzz targets once crashed on or lingered over, kept in
// fuzz/regressions/<target>/, goes through its target's checks again.
#include "entrees.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <map>

TEST(Regressions, EveryKeptInputPassesItsTargetsChecks)
{
    using Entree = std::function<void(const uint8_t *, size_t)>;
    const auto format = [](sky::Format f) { return [f](const uint8_t *d, size_t n) { fuzz::image(f, d, n); }; };
    const std::map<QString, Entree> cibles = {
        {"diaporama", fuzz::diaporama},       {"configuration", fuzz::configuration},
        {"jpeg", format(sky::Format::Jpeg)}, {"png", format(sky::Format::Png)},
        {"gif", format(sky::Format::Gif)},   {"tif", format(sky::Format::Tif)},
    };
    const QDir racine(QStringLiteral(VISTA_REGRESSIONS));
    int rejouees = 0;
    for (const QString &cible : racine.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const auto entree = cibles.find(cible);
        ASSERT_NE(entree, cibles.end()) << "no target named " << cible.toStdString();
        const QDir dossier(racine.filePath(cible));
        for (const QString &nom : dossier.entryList(QDir::Files)) {
            SCOPED_TRACE((cible + QLatin1Char('/') + nom).toStdString());
            QFile fichier(dossier.filePath(nom));
            ASSERT_TRUE(fichier.open(QIODevice::ReadOnly));
            const QByteArray octets = fichier.readAll();
            entree->second(reinterpret_cast<const uint8_t *>(octets.constData()), size_t(octets.size()));
            ++rejouees;
        }
    }
    EXPECT_GT(rejouees, 0);
}
