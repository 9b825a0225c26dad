// JPEG to JPEG from the coefficients, against the pixel path it stands in for.
#include "convert.h"
#include "octets.h"
#include "photo_tournee.h"
#include "pictures.h"
#include "formats.h"
#include "sky.h"
#include "skyio.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>
#include <tiffio.h>

using namespace sky;

namespace {

QImage decoded(const QString &path)
{
    QImage image;
    EXPECT_EQ(Ok, readJpeg(path, 24, 1, false, image, {})) << path.toStdString();
    return image;
}

// A TIFF of libtiff's own, 300 dots per inch: grey (black first) from a
// Grayscale8 picture; a palette from an Indexed8 one, its map holding each
// colour times `scale` (257: 16-bit entries; 1: 8-bit ones, as some writers
// put them); RGB in 16 x 16 tiles from an RGB888 one.
bool writeLibtiff(const QString &path, const QImage &picture, int scale = 257)
{
    TIFF *tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (!tiff)
        return false;
    const int w = picture.width(), h = picture.height();
    const bool tiled = picture.format() == QImage::Format_RGB888;
    const bool palette = picture.format() == QImage::Format_Indexed8;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, tiled ? 3 : 1);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, tiled ? PHOTOMETRIC_RGB : palette ? PHOTOMETRIC_PALETTE : PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, 300.0f);
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, 300.0f);
    bool ok = true;
    if (palette) {
        std::vector<uint16_t> map[3];
        for (int i = 0; i < 256; ++i) {
            const QRgb c = i < picture.colorCount() ? picture.color(i) : 0;
            for (int k = 0; k < 3; ++k)
                map[k].push_back(uint16_t((k == 0 ? qRed(c) : k == 1 ? qGreen(c) : qBlue(c)) * scale));
        }
        TIFFSetField(tiff, TIFFTAG_COLORMAP, map[0].data(), map[1].data(), map[2].data());
    }
    if (tiled) {
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, 16);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, 16);
        std::vector<uchar> tile(16 * 16 * 3);
        for (int ty = 0; ty < h; ty += 16)
            for (int tx = 0; tx < w; tx += 16) {
                std::fill(tile.begin(), tile.end(), 0);
                for (int y = ty; y < std::min(h, ty + 16); ++y)
                    std::copy_n(picture.constScanLine(y) + 3 * tx, 3 * std::min(16, w - tx),
                                tile.data() + 3 * 16 * (y - ty));
                ok = ok && TIFFWriteTile(tiff, tile.data(), uint32_t(tx), uint32_t(ty), 0, 0) >= 0;
            }
    } else {
        for (int y = 0; y < h; ++y)
            ok = ok && TIFFWriteScanline(tiff, const_cast<uchar *>(picture.constScanLine(y)), uint32_t(y), 0) >= 0;
    }
    TIFFClose(tiff);
    return ok;
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
    // Large enough for the standard tables, coded as the reading goes: the damage is found after writing began.
    const QString largeCut = dir.filePath(QStringLiteral("large cut.jpg"));
    ASSERT_EQ(Ok, writeJpeg(largeCut, 95, 0, 24, photoPicture(2200, 1400), {}));
    ASSERT_TRUE(QFile::resize(largeCut, QFileInfo(largeCut).size() * 2 / 3));
    struct Case {
        QString source;
        bool grey;
        int quality, status;
    };
    // Colour below full-colour quality: the pixel path halves the colour, the coefficients cannot.
    const Case cases[] = {{turned, false, 50, Unsupported}, {grey, false, 95, Unsupported},
                          {colour, false, 89, Unsupported},
                          {png, true, 50, Unsupported},     {cut, false, 95, Truncated}, {largeCut, false, 95, Truncated},
                          {grey, true, 0, BadArgument},     {dir.filePath("none.jpg"), false, 50, FileNotFound}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.source.toStdString());
        EXPECT_EQ(c.status, recodeJpeg(c.source, target, c.quality, c.grey, {}));
        EXPECT_FALSE(folderContents(dir.path()).contains(QStringLiteral("target.jpg")));
        EXPECT_EQ(6, folderContents(dir.path()).size());
    }
    // Damage that the block reading finds after writing began and libjpeg reads past: its file alone is written.
    const QString damaged = dir.filePath(QStringLiteral("damaged.jpg"));
    ASSERT_EQ(Ok, writeJpeg(damaged, 95, 0, 24, photoPicture(2200, 1400), {}));
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek(file.size() * 3 / 5) && file.write("\xFF\xD3", 2) == 2);
    file.close();
    ASSERT_EQ(Ok, recodeJpeg(damaged, target, 95, false, {}));
    QImage recoded;
    EXPECT_EQ(Ok, readJpeg(target, 24, 1, false, recoded, {}));
    EXPECT_EQ(QSize(2200, 1400), recoded.size());
    // A grey file asked in grey is recoded, and a colour one asked in full colour.
    EXPECT_EQ(Ok, recodeJpeg(grey, target, 50, true, {}));
    EXPECT_EQ(Ok, recodeJpeg(colour, target, 90, false, {}));
}

TEST(Streamed, WritesTheWholePicturePathsBytes)
{
    QTemporaryDir dir;
    // Wider than a TIFF strip of 2 MB holds, taller than the rows the writers sample.
    QImage photo = photoPicture(1001, 803);
    setDensity(photo, 11811, 11811);
    QImage translucent = photo.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < translucent.height(); ++y)
        for (int x = 0; x < translucent.width(); ++x)
            translucent.setPixel(x, y, (translucent.pixel(x, y) & 0xffffff) | uint((x + y) % 3 * 120) << 24);
    QImage grey = photo.convertToFormat(QImage::Format_Grayscale8), indexed = indexedPicture(1001, 803, 200);
    setDensity(indexed, 11811, 11811);
    const auto path = [&dir](const char *name) { return dir.filePath(QLatin1String(name)); };
    ASSERT_EQ(Ok, writeJpeg(path("photo.jpg"), 85, 0, 24, photo, {}));
    ASSERT_EQ(Ok, writePng(path("photo.png"), 24, false, photo, {}));
    ASSERT_EQ(Ok, writePng(path("palette.png"), 8, false, indexed, {}));
    ASSERT_EQ(Ok, writePng(path("palette4.png"), 4, false, indexedPicture(1001, 803, 11), {}));
    ASSERT_TRUE(grey.save(path("grey.png")));
    ASSERT_TRUE(photo.convertToFormat(QImage::Format_RGBX64).save(path("deep.png")));
    ASSERT_TRUE(translucent.save(path("alpha.png")));
    ASSERT_EQ(Ok, writeTiff(path("lzw.tif"), 5, 24, photo, {}));
    ASSERT_EQ(Ok, writeTiff(path("palette.tif"), 1, 8, indexed, {}));
    ASSERT_TRUE(writeLibtiff(path("grey.tif"), grey));
    // 8-bit map entries; 16-bit ones whose top byte alone is the colour.
    ASSERT_TRUE(writeLibtiff(path("map8.tif"), indexed, 1));
    ASSERT_TRUE(writeLibtiff(path("map256.tif"), indexed, 256));
    struct Target {
        Format format;
        int tiffCompression;
    };
    const Target targets[] = {{Format::Bmp, 1}, {Format::Pcx, 1}, {Format::Png, 1}, {Format::Jpeg, 1},
                              {Format::Tif, 1}, {Format::Tif, 5}, {Format::Tif, 32773}};
    for (const char *source : {"photo.jpg", "photo.png", "palette.png", "palette4.png", "grey.png", "deep.png",
                               "alpha.png", "lzw.tif", "palette.tif", "grey.tif", "map8.tif", "map256.tif"}) {
        QImage picture;
        ASSERT_EQ(Ok, readAnyPicture(path(source), 24, false, picture, {})) << source;
        for (const Target &c : targets) {
            SCOPED_TRACE(testing::Message() << source << " -> " << formatRow(c.format).option << " " << c.tiffCompression);
            WriteOptions options;
            options.tiffCompression = c.tiffCompression;
            ASSERT_EQ(Ok, formatRow(c.format).write(path("whole"), 24, picture, options, {}));
            ASSERT_EQ(Ok, writeStreamed(path(source), path("streamed"), c.format, options, {}));
            EXPECT_TRUE(loadFile(path("whole")) == loadFile(path("streamed")));
        }
    }
}

TEST(Streamed, LeavesWholePicturesToTheirPathAndACutFileUnwritten)
{
    QTemporaryDir dir;
    const QString jpeg = dir.filePath(QStringLiteral("photo.jpg"));
    const QString gif = dir.filePath(QStringLiteral("photo.gif"));
    const QString interlacedPng = dir.filePath(QStringLiteral("interlaced.png"));
    const QString tiled = dir.filePath(QStringLiteral("tiled.tif"));
    const QString turned = dir.filePath(QStringLiteral("turned.jpg"));
    const QString cut = dir.filePath(QStringLiteral("cut.jpg"));
    const QString cutPng = dir.filePath(QStringLiteral("cut.png"));
    const QString cutTiff = dir.filePath(QStringLiteral("cut.tif"));
    const QImage photo = photoPicture(96, 64);
    ASSERT_EQ(Ok, writeJpeg(jpeg, 85, 0, 24, photo, {}));
    ASSERT_EQ(Ok, writeJpeg(cut, 85, 0, 24, photo, {}));
    ASSERT_EQ(Ok, writeGif(gif, 8, photo, {}));
    ASSERT_EQ(Ok, writePng(interlacedPng, 24, true, photo, {}));
    ASSERT_EQ(Ok, writePng(cutPng, 24, false, photo, {}));
    ASSERT_EQ(Ok, writeTiff(cutTiff, 5, 24, photo, {}));
    for (const QString &file : {cut, cutPng, cutTiff})
        ASSERT_TRUE(QFile::resize(file, QFileInfo(file).size() / 2));
    ASSERT_TRUE(writeLibtiff(tiled, photo));
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
    const Case cases[] = {{jpeg, Format::Gif, {}, Unsupported},          {jpeg, Format::Png, interlaced, Unsupported},
                          {jpeg, Format::Tif, ccitt, Unsupported},       {gif, Format::Bmp, {}, Unsupported},
                          {interlacedPng, Format::Bmp, {}, Unsupported}, {tiled, Format::Png, {}, Unsupported},
                          {turned, Format::Bmp, {}, Unsupported},        {cut, Format::Bmp, {}, Truncated},
                          {cut, Format::Png, {}, Truncated},             {cutPng, Format::Bmp, {}, Truncated},
                          {cutTiff, Format::Tif, {}, Truncated}};
    const QStringList before = folderContents(dir.path());
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.source.toStdString() << " " << formatRow(c.format).option);
        EXPECT_EQ(c.status, writeStreamed(c.source, dir.filePath(QStringLiteral("target")), c.format, c.options, {}));
        EXPECT_EQ(before, folderContents(dir.path()));
        QImage whole;
        if (c.status != Unsupported) {
            EXPECT_EQ(c.status, readAnyPicture(c.source, 24, false, whole, {}));
        }
    }
    // The converter still writes what those left to the whole picture give.
    for (const QString &source : {interlacedPng, tiled}) {
        SCOPED_TRACE(source.toStdString());
        QImage picture;
        ASSERT_EQ(Ok, readAnyPicture(source, 24, false, picture, {}));
        ASSERT_EQ(Ok, writeBmp(dir.filePath(QStringLiteral("whole.bmp")), 24, picture, {}));
        ConvertOptions options;
        options.format = Format::Bmp;
        options.resolution = Resolution::True;
        QString written;
        ASSERT_EQ(Ok, convertFile(source, dir.path(), options, &written));
        EXPECT_TRUE(loadFile(dir.filePath(QStringLiteral("whole.bmp"))) == loadFile(written));
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

TEST(PictureMemory, ASmallerPicturesMemoryGoesToTheNextOfAboutItsSizeInAnyThread)
{
    const auto madeInAThread = [](int height) {
        const uchar *bits = nullptr;
        std::thread([&] { bits = newPicture(1000, height, QImage::Format_RGB32).constBits(); }).join();
        return bits;
    };
    const uchar *first = madeInAThread(333);
    EXPECT_EQ(first, madeInAThread(332));
    // Less than half of it would waste it.
    EXPECT_NE(first, madeInAThread(100));
}
