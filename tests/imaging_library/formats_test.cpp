// The format table and the one read and write frame every format goes through:
// what a file is told by, densities, failures that name their file.
#include "formats.h"
#include "ecran.h"
#include "pictures.h"
#include "skyio.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

using namespace sky;

namespace {

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

TEST(Formats, EachFileIsToldByItsFirstBytesWhateverItsName)
{
    DossierTemporaire dir;
    const QImage photo = photoPicture(12, 9);
    for (const FormatRow &row : formats()) {
        const QString path = dir.chemin(QStringLiteral("mal_nomme_%1.dat").arg(row.option));
        ASSERT_EQ(Ok, row.write(path, 24, photo, {}, {})) << row.type;
        FileInfo info;
        ASSERT_EQ(Ok, fileInfo(path, info)) << row.type;
        EXPECT_EQ(QLatin1String(row.type), info.type);
        QImage back;
        ASSERT_EQ(Ok, readAnyPicture(path, 24, false, back, {})) << row.type;
        EXPECT_EQ(photo.size(), back.size()) << row.type;
        EXPECT_EQ(&row, formatOfExtension(QString::fromLatin1(row.extension).toLower()));
    }
    QFile text(dir.chemin("texte.jpg"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("pas une image");
    text.close();
    FileInfo info;
    EXPECT_EQ(BadFormat, fileInfo(text.fileName(), info));
    EXPECT_EQ(nullptr, formatOfExtension(QStringLiteral(".TXT")));
}

TEST(Formats, APictureWithoutADensityIsWrittenWithoutOne)
{
    DossierTemporaire dir;
    QImage photo = photoPicture(16, 8);
    setDensity(photo, 0, 0);
    for (const FormatRow &row : formats()) {
        const QString path = dir.chemin(QStringLiteral("a%1").arg(row.extension));
        ASSERT_EQ(Ok, row.write(path, 8, photo, {}, {})) << row.type;
        FileInfo info;
        ASSERT_EQ(Ok, fileInfo(path, info)) << row.type;
        EXPECT_EQ(0, info.density) << row.type;
        // Read back and written again: still none, whatever the screen's density.
        QImage back;
        ASSERT_EQ(Ok, row.read(path, 24, false, back, {})) << row.type;
        EXPECT_EQ(0, densityX(back)) << row.type;
        ASSERT_EQ(Ok, writeBmp(dir.chemin("b.bmp"), 24, back, {})) << row.type;
        ASSERT_EQ(Ok, fileInfo(dir.chemin("b.bmp"), info));
        EXPECT_EQ(0, info.density) << row.type;
    }
}

TEST(Formats, AFailedWriteNamesItsFileAndTheSystemsReason)
{
    DossierTemporaire dir;
    const QString path = dir.chemin("absent/photo.png");
    for (const FormatRow &row : formats()) {
        EXPECT_EQ(CannotCreate, row.write(path, 24, photoPicture(4, 4), {}, {})) << row.type;
        EXPECT_EQ(path, lastFailure().path) << row.type;
        EXPECT_EQ(ENOENT, lastFailure().error) << row.type;
        EXPECT_TRUE(failureText(CannotCreate).contains(path)) << row.type;
        EXPECT_TRUE(failureText(CannotCreate).contains(QString::fromLocal8Bit(std::strerror(ENOENT))));
    }
    // A failure of the picture itself has no file to name.
    EXPECT_EQ(EmptyPicture, writePng(dir.chemin("vide.png"), 24, false, QImage(), {}));
    EXPECT_EQ(errorText(EmptyPicture), failureText(EmptyPicture));
}

TEST(Formats, AnOutputFileRemovesOnlyTheTemporaryFileItMade)
{
    DossierTemporaire dir;
    {
        OutputFile missing(dir.chemin("absent/x.bmp"));
        EXPECT_FALSE(missing.isOpen());
        EXPECT_TRUE(missing.temporaryPath().isEmpty());
    }
    const QString kept = dir.chemin("x.bmp");
    QFile existing(kept);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("ancien");
    existing.close();
    {
        OutputFile abandoned(kept);
        ASSERT_TRUE(abandoned.isOpen());
        EXPECT_TRUE(QFile::exists(abandoned.temporaryPath()));
    }
    EXPECT_EQ(QStringList{QStringLiteral("x.bmp")}, filesIn(dir.chemin()));
    {
        OutputFile done(kept);
        ASSERT_TRUE(done.write("neuf", 4));
        ASSERT_EQ(Ok, done.commit());
    }
    EXPECT_EQ(QStringList{QStringLiteral("x.bmp")}, filesIn(dir.chemin()));
    QFile written(kept);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(QByteArray("neuf"), written.readAll());
}
