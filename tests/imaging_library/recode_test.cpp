// JPEG to JPEG from the coefficients, against the pixel path it stands in for.
#include "photo_tournee.h"
#include "pictures.h"
#include "formats.h"
#include "sky.h"
#include "skyio.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace sky;

namespace {

QImage decoded(const QString &path)
{
    QImage image;
    EXPECT_EQ(Ok, readJpeg(path, 24, 1, false, image, {})) << path.toStdString();
    return image;
}

}  // namespace

TEST(Recode, GivesThePixelPathsPictureAndSize)
{
    QTemporaryDir dir;
    // Sources as this writer makes them: subsampled colour below quality 90, full colour above.
    struct Case {
        int sourceQuality, quality;
        bool grey;
    };
    const Case cases[] = {{95, 92, false}, {60, 95, false}, {92, 100, true}, {75, 40, true}, {95, 25, true}};
    const QImage photo = photoPicture(480, 320);
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.sourceQuality << " -> " << c.quality << (c.grey ? " grey" : ""));
        const QString source = dir.filePath(QStringLiteral("source.jpg"));
        const QString recoded = dir.filePath(QStringLiteral("recoded.jpg"));
        const QString repainted = dir.filePath(QStringLiteral("repainted.jpg"));
        ASSERT_EQ(Ok, writeJpeg(source, c.sourceQuality, 0, 24, photo, {}));
        ASSERT_EQ(Ok, recodeJpeg(source, recoded, c.quality, c.grey, {}));
        QImage picture;
        ASSERT_EQ(Ok, readJpeg(source, 24, 1, false, picture, {}));
        ASSERT_EQ(Ok, writeJpeg(repainted, c.quality, 0, c.grey ? 1 : 24, picture, {}));

        const QImage fromCoefficients = decoded(recoded), fromPixels = decoded(repainted);
        EXPECT_GE(psnr(fromPixels, fromCoefficients), 40);
        EXPECT_EQ(c.grey, fromCoefficients.allGray());
        EXPECT_LE(QFileInfo(recoded).size(), QFileInfo(repainted).size() * 105 / 100);
    }
}

TEST(Recode, LeavesToThePixelPathWhatItCannotGiveAndWritesNothing)
{
    QTemporaryDir dir;
    const QString colour = dir.filePath(QStringLiteral("colour.jpg"));
    const QString turned = dir.filePath(QStringLiteral("turned.jpg"));
    const QString grey = dir.filePath(QStringLiteral("grey.jpg"));
    const QString png = dir.filePath(QStringLiteral("picture.png"));
    const QString cut = dir.filePath(QStringLiteral("cut.jpg"));
    const QString target = dir.filePath(QStringLiteral("target.jpg"));
    ASSERT_TRUE(ecrit_photo_tournee(turned, 6));
    const QImage photo = photoPicture(96, 64);
    ASSERT_EQ(Ok, writeJpeg(grey, 80, 0, 1, photo, {}));
    ASSERT_EQ(Ok, writeJpeg(colour, 80, 0, 24, photo, {}));
    ASSERT_EQ(Ok, writePng(png, 24, false, photo, {}));
    ASSERT_EQ(Ok, writeJpeg(cut, 80, 0, 24, photo, {}));
    ASSERT_TRUE(QFile::resize(cut, QFileInfo(cut).size() / 2));
    struct Case {
        QString source;
        bool grey;
        int quality, status;
    };
    // Colour below full-colour quality: the pixel path halves the colour, the coefficients cannot.
    const Case cases[] = {{turned, false, 50, Unsupported}, {grey, false, 95, Unsupported},
                          {colour, false, 89, Unsupported},
                          {png, true, 50, Unsupported},     {cut, false, 95, Truncated},
                          {grey, true, 0, BadArgument},     {dir.filePath("none.jpg"), false, 50, FileNotFound}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.source.toStdString());
        EXPECT_EQ(c.status, recodeJpeg(c.source, target, c.quality, c.grey, {}));
        EXPECT_FALSE(folderContents(dir.path()).contains(QStringLiteral("target.jpg")));
        EXPECT_EQ(5, folderContents(dir.path()).size());
    }
    // A grey file asked in grey is recoded, and a colour one asked in full colour.
    EXPECT_EQ(Ok, recodeJpeg(grey, target, 50, true, {}));
    EXPECT_EQ(Ok, recodeJpeg(colour, target, 90, false, {}));
}

TEST(Streamed, WritesTheWholePicturePathsBytes)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("source.jpg"));
    // Wider than a TIFF strip of 2 MB holds.
    QImage photo = photoPicture(1001, 803);
    setDensity(photo, 11811, 11811);
    ASSERT_EQ(Ok, writeJpeg(source, 85, 0, 24, photo, {}));
    QImage picture;
    ASSERT_EQ(Ok, readAnyPicture(source, 24, false, picture, {}));
    struct Case {
        Format format;
        int tiffCompression;
    };
    const Case cases[] = {{Format::Bmp, 1}, {Format::Pcx, 1}, {Format::Png, 1}, {Format::Jpeg, 1},
                          {Format::Tif, 1}, {Format::Tif, 5}, {Format::Tif, 32773}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << formatRow(c.format).option << " " << c.tiffCompression);
        WriteOptions options;
        options.tiffCompression = c.tiffCompression;
        const QString whole = dir.filePath(QStringLiteral("whole"));
        const QString streamed = dir.filePath(QStringLiteral("streamed"));
        ASSERT_EQ(Ok, formatRow(c.format).write(whole, 24, picture, options, {}));
        ASSERT_EQ(Ok, writeStreamed(source, streamed, c.format, options, {}));
        QFile a(whole), b(streamed);
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        EXPECT_TRUE(a.readAll() == b.readAll());
    }
}

TEST(Streamed, LeavesWholePicturesToTheirPathAndACutFileUnwritten)
{
    QTemporaryDir dir;
    const QString jpeg = dir.filePath(QStringLiteral("photo.jpg"));
    const QString png = dir.filePath(QStringLiteral("photo.png"));
    const QString turned = dir.filePath(QStringLiteral("turned.jpg"));
    const QString cut = dir.filePath(QStringLiteral("cut.jpg"));
    const QImage photo = photoPicture(96, 64);
    ASSERT_EQ(Ok, writeJpeg(jpeg, 85, 0, 24, photo, {}));
    ASSERT_EQ(Ok, writeJpeg(cut, 85, 0, 24, photo, {}));
    ASSERT_TRUE(QFile::resize(cut, QFileInfo(cut).size() / 2));
    ASSERT_EQ(Ok, writePng(png, 24, false, photo, {}));
    ASSERT_TRUE(ecrit_photo_tournee(turned, 3));
    WriteOptions interlaced, ccitt;
    interlaced.interlaced = true;
    ccitt.tiffCompression = 2;
    struct Case {
        QString source;
        Format format;
        WriteOptions options;
        int status;
    };
    const Case cases[] = {{jpeg, Format::Gif, {}, Unsupported},       {jpeg, Format::Png, interlaced, Unsupported},
                          {jpeg, Format::Tif, ccitt, Unsupported},    {png, Format::Bmp, {}, Unsupported},
                          {turned, Format::Bmp, {}, Unsupported},     {cut, Format::Bmp, {}, Truncated},
                          {cut, Format::Png, {}, Truncated}};
    const QStringList before = folderContents(dir.path());
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.source.toStdString() << " " << formatRow(c.format).option);
        EXPECT_EQ(c.status, writeStreamed(c.source, dir.filePath(QStringLiteral("target")), c.format, c.options, {}));
        EXPECT_EQ(before, folderContents(dir.path()));
    }
}

TEST(LargeMemory, LargePicturesStartOnA2MbBoundaryWithTheUsualStride)
{
    struct Case {
        int width, height;
        QImage::Format format;
        bool large;
    };
    const Case cases[] = {{100, 80, QImage::Format_RGB888, false},
                          {2001, 1000, QImage::Format_RGB888, true},
                          {4001, 1100, QImage::Format_Indexed8, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        QImage picture = newPicture(c.width, c.height, c.format);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(QImage(c.width, c.height, c.format).bytesPerLine(), picture.bytesPerLine());
        if (c.large) {
            EXPECT_EQ(0u, reinterpret_cast<quintptr>(picture.constBits()) % (quintptr(2) << 20));
        }
        // Written through, and a copy written to leaves it as it was.
        picture.scanLine(c.height - 1)[c.width - 1] = 7;
        QImage copy = picture;
        copy.scanLine(c.height - 1)[c.width - 1] = 9;
        EXPECT_EQ(7, picture.constScanLine(c.height - 1)[c.width - 1]);
    }
}
