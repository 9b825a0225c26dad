// Library failures reach the user in one error box; names the library cannot take are refused.
#include "imagefile.h"
#include "sky.h"

#include "script_systeme.h"
#include "ecran.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

// A path of exactly `length` characters inside `base`, its folders created.
QString pathOfLength(const QString &base, int length, const QString &fileName)
{
    QString path = base;
    while (path.size() + 1 + 100 + 1 + fileName.size() < length)
        path += QLatin1Char('/') + QString(100, QLatin1Char('d'));
    const int last = length - int(path.size()) - 2 - int(fileName.size());
    if (last > 0)
        path += QLatin1Char('/') + QString(last, QLatin1Char('e'));
    QDir().mkpath(path);
    return path + QLatin1Char('/') + fileName;
}

}  // namespace

TEST(LibraryErrors, TheLibrarysTextInAnErrorBox)
{
    ScriptSysteme script;
    ReportLibraryError(sky::Truncated);
    ASSERT_EQ(script.boites.size(), 1);
    EXPECT_EQ(script.boites[0].type, systeme::TypeBoite::Erreur);
    EXPECT_EQ(script.boites[0].texte, sky::errorText(sky::Truncated));
    EXPECT_EQ(script.boites[0].boutons, systeme::OK);
}

TEST(LibraryErrors, AFailingReadReturnsFalseAndEmptiesTheBitmap)
{
    DossierTemporaire dossier;
    BitmapObject b;
    b.bitmap = QImage(4, 4, QImage::Format_RGB888);
    ScriptSysteme script;
    EXPECT_FALSE(ReadBmpFile(dossier.chemin("absent.bmp"), 24, false, b));
    EXPECT_TRUE(b.empty());
    ASSERT_EQ(script.boites.size(), 1);
    EXPECT_EQ(script.boites[0].type, systeme::TypeBoite::Erreur);
    EXPECT_EQ(script.boites[0].texte, sky::errorText(sky::FileNotFound));

    QFile damaged(dossier.chemin("abime.png"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("\x89PNG\r\n\x1a\n pas une image");
    damaged.close();
    EXPECT_FALSE(ReadPngFile(damaged.fileName(), 24, false, b));
    ASSERT_EQ(script.boites.size(), 2);
    EXPECT_FALSE(script.boites[1].texte.isEmpty());
}

TEST(LibraryErrors, NamesLongerThan255CharactersAreRefusedBeforeTheLibrary)
{
    DossierTemporaire dossier;
    const QString tooLong = pathOfLength(dossier.chemin(), 256, QStringLiteral("a.png"));
    ASSERT_EQ(tooLong.size(), 256);
    ASSERT_TRUE(QImage(2, 2, QImage::Format_RGB888).save(tooLong, "PNG"));

    BitmapObject b;
    b.bitmap = QImage(5, 5, QImage::Format_RGB888);
    ScriptSysteme script;
    EXPECT_FALSE(ReadPngFile(tooLong, 24, false, b));
    EXPECT_EQ(b.bitmap.size(), QSize(5, 5));  // untouched: the file was not read
    const QString bmp = tooLong.chopped(3) + QStringLiteral("bmp");
    EXPECT_FALSE(WriteBmpFile(bmp, 24, b));
    EXPECT_FALSE(QFile::exists(bmp));
    ASSERT_EQ(script.boites.size(), 2);
    EXPECT_EQ(script.boites[0].type, systeme::TypeBoite::Erreur);
    EXPECT_TRUE(script.boites[0].texte.contains(QStringLiteral("255 caractères")));

    const QString longest = pathOfLength(dossier.chemin(), 255, QStringLiteral("b.bmp"));
    ASSERT_EQ(longest.size(), 255);
    EXPECT_TRUE(WriteBmpFile(longest, 24, b));
    EXPECT_TRUE(QFile::exists(longest));
    EXPECT_EQ(script.boites.size(), 2);
}
