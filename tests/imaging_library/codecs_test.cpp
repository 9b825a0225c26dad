// PNG, GIF, TIFF and JPEG: every format and depth written here is read back
// by the codec library itself (libpng, giflib, libtiff, Qt's JPEG reader) and
// by our readers; information, progress and stop, damaged files.
#include "codecs.h"
#include "ecran.h"
#include "octets.h"
#include "pictures.h"
#include "sky.h"

#include <QFile>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QRandomGenerator>
#include <gif_lib.h>
#include <png.h>
#include <tiffio.h>
#include <zlib.h>

#include <csetjmp>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

using namespace sky;

namespace {

enum class Format { Png, Gif, Tiff, Jpeg };

struct WriteCase {
    Format format;
    int bits;
    int option;  // PNG: interlaced; TIFF: compression; JPEG: quality
};

std::string caseName(const ::testing::TestParamInfo<WriteCase> &info)
{
    static const char *names[] = {"Png", "Gif", "Tiff", "Jpeg"};
    return std::string(names[int(info.param.format)]) + "_" + std::to_string(info.param.bits) +
           "_" + std::to_string(info.param.option);
}

int write(const WriteCase &c, const QString &path, const QImage &picture, const Progress &progress)
{
    switch (c.format) {
    case Format::Png: return writePng(path, c.bits, c.option != 0, picture, progress);
    case Format::Gif: return writeGif(path, c.bits, picture, progress);
    case Format::Tiff: return writeTiff(path, c.option, c.bits, picture, progress);
    case Format::Jpeg: return writeJpeg(path, c.option, 0, c.bits, picture, progress);
    }
    return Failed;
}

int read(Format format, const QString &path, int bits, QImage &out, const Progress &progress = {})
{
    switch (format) {
    case Format::Png: return readPng(path, bits, false, out, progress);
    case Format::Gif: return readGif(path, bits, false, out, progress);
    case Format::Tiff: return readTiff(path, bits, false, out, progress);
    case Format::Jpeg: return readJpeg(path, bits, 1, false, out, progress);
    }
    return Failed;
}

// What the file holds in the codec library's own words.
struct Stored {
    int bitsPerSample = 0;
    int samples = 0;
    int paletteSize = 0;
    int interlaced = 0;
    int compression = 0;
    int photometric = -1;
    QByteArray signature;
    QImage picture;  // as the library decodes it
};

Stored pngStored(const QString &path)
{
    Stored s;
    FILE *file = std::fopen(QFile::encodeName(path).constData(), "rb");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (file && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_read_info(png, info);
        s.bitsPerSample = png_get_bit_depth(png, info);
        s.samples = png_get_channels(png, info);
        png_colorp entries = nullptr;
        png_get_PLTE(png, info, &entries, &s.paletteSize);
        s.interlaced = png_get_interlace_type(png, info) == PNG_INTERLACE_ADAM7;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (file)
        std::fclose(file);
    s.picture = QImage(path, "PNG");
    return s;
}

Stored gifStored(const QString &path)
{
    Stored s;
    s.signature = loadFile(path).left(6);
    int error = 0;
    GifFileType *gif = DGifOpenFileName(QFile::encodeName(path).constData(), &error);
    if (gif && DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0 && gif->SColorMap) {
        s.paletteSize = gif->SColorMap->ColorCount;
        s.bitsPerSample = gif->SColorMap->BitsPerPixel;
        const SavedImage &first = gif->SavedImages[0];
        s.picture = QImage(first.ImageDesc.Width, first.ImageDesc.Height, QImage::Format_RGB888);
        for (int y = 0; y < s.picture.height(); ++y)
            for (int x = 0; x < s.picture.width(); ++x) {
                const GifColorType c =
                    gif->SColorMap->Colors[first.RasterBits[y * s.picture.width() + x]];
                s.picture.setPixel(x, y, qRgb(c.Red, c.Green, c.Blue));
            }
    }
    if (gif)
        DGifCloseFile(gif, &error);
    return s;
}

Stored tiffStored(const QString &path)
{
    Stored s;
    TIFF *tiff = TIFFOpen(QFile::encodeName(path).constData(), "r");
    if (!tiff)
        return s;
    uint16_t bits = 0, samples = 0, compression = 0, photometric = 0;
    uint32_t w = 0, h = 0;
    TIFFGetField(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetField(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tiff, TIFFTAG_COMPRESSION, &compression);
    TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &h);
    s.bitsPerSample = bits;
    s.samples = samples;
    s.compression = compression;
    s.photometric = photometric;
    s.paletteSize = photometric == PHOTOMETRIC_PALETTE ? 1 << bits : 0;
    std::vector<uint32_t> raster(size_t(w) * h);
    if (TIFFReadRGBAImageOriented(tiff, w, h, raster.data(), ORIENTATION_TOPLEFT, 1)) {
        s.picture = QImage(int(w), int(h), QImage::Format_RGB888);
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x) {
                const uint32_t p = raster[y * w + x];
                s.picture.setPixel(int(x), int(y), qRgb(TIFFGetR(p), TIFFGetG(p), TIFFGetB(p)));
            }
    }
    TIFFClose(tiff);
    return s;
}

Stored jpegStored(const QString &path)
{
    Stored s;
    QImageReader reader(path, "JPEG");
    s.picture = reader.read();
    s.samples = s.picture.format() == QImage::Format_Grayscale8 ? 1 : 3;
    return s;
}

Stored stored(Format format, const QString &path)
{
    switch (format) {
    case Format::Png: return pngStored(path);
    case Format::Gif: return gifStored(path);
    case Format::Tiff: return tiffStored(path);
    case Format::Jpeg: return jpegStored(path);
    }
    return {};
}

// The picture to write for a case: true colour photos, else a picture that
// already fits the depth so that lossless formats must keep it exactly.
QImage pictureFor(const WriteCase &c)
{
    const QImage photo = photoPicture(61, 37);
    if (c.format == Format::Jpeg || c.bits == 24 || c.bits == 0)
        return photo;
    if (c.bits == 1 || c.option == COMPRESSION_CCITTRLE) {
        QImage mono;
        EXPECT_EQ(Ok, toDepth(photo, 1, true, mono));
        return mono;
    }
    return indexedPicture(61, 37, c.bits == 4 ? 16 : 256);
}

int expectedColours(const QImage &picture, int bits)
{
    QImage reduced;
    EXPECT_EQ(Ok, toDepth(picture, bits, true, reduced));
    return reduced.colorCount();
}

class Writers : public ::testing::TestWithParam<WriteCase> {};

}  // namespace

TEST_P(Writers, TheCodecLibraryReadsBackWhatWasAsked)
{
    const WriteCase c = GetParam();
    DossierTemporaire dir;
    const QString path = dir.chemin(QStringLiteral("picture"));
    const QImage picture = pictureFor(c);
    ASSERT_EQ(Ok, write(c, path, picture, {}));
    EXPECT_EQ(QStringList{QStringLiteral("picture")}, folderContents(dir.chemin()));

    const Stored s = stored(c.format, path);
    ASSERT_FALSE(s.picture.isNull());
    EXPECT_EQ(picture.size(), s.picture.size());
    const bool ccitt = c.format == Format::Tiff && c.option == COMPRESSION_CCITTRLE;
    const int fileBits = ccitt ? 1 : c.bits == 0 ? 4 : c.bits;
    switch (c.format) {
    case Format::Png:
        EXPECT_EQ(c.option, s.interlaced);
        EXPECT_EQ(fileBits == 24 ? 8 : fileBits, s.bitsPerSample);
        // The palette holds the picture's colours, at most as many as the depth allows.
        EXPECT_LE(s.paletteSize, fileBits == 24 ? 0 : 1 << fileBits);
        EXPECT_EQ(fileBits == 24 ? 0 : expectedColours(picture, fileBits), s.paletteSize);
        break;
    case Format::Gif:
        EXPECT_EQ(QByteArray("GIF87a"), s.signature);
        EXPECT_EQ(fileBits == 24 ? 256 : 1 << fileBits, s.paletteSize);
        break;
    case Format::Tiff:
        EXPECT_EQ(c.option, s.compression);
        EXPECT_EQ(fileBits == 24 ? 8 : fileBits, s.bitsPerSample);
        EXPECT_EQ(fileBits == 24 ? 3 : 1, s.samples);
        EXPECT_EQ(fileBits == 24   ? PHOTOMETRIC_RGB
                  : fileBits == 1 ? PHOTOMETRIC_MINISBLACK
                                  : PHOTOMETRIC_PALETTE,
                  s.photometric);
        break;
    case Format::Jpeg:
        EXPECT_EQ(c.bits == 1 ? 1 : 3, s.samples);
        break;
    }

    // Lossless formats keep every pixel of a picture that fits; the VGA
    // colours and the 256 colours of a GIF made from a photo are the
    // palette's; CCITT keeps the black and white picture made from a photo.
    QImage expected = picture;
    if (ccitt) {
        ASSERT_EQ(Ok, toDepth(picture, 1, true, expected));
    }
    QImage back;
    ASSERT_EQ(Ok, read(c.format, path, 24, back));
    EXPECT_EQ(QImage::Format_RGB888, back.format());
    if (c.format == Format::Jpeg) {
        EXPECT_GT(psnr(picture, back), c.bits == 1 ? 10 : 25);
    } else if (c.bits == 0) {
        for (int y = 0; y < back.height(); ++y)
            for (int x = 0; x < back.width(); ++x)
                ASSERT_TRUE(vgaPalette().contains(back.pixel(x, y)));
    } else if (!(c.format == Format::Gif && c.bits == 24)) {
        EXPECT_TRUE(sameColours(expected, back));
        EXPECT_TRUE(sameColours(expected, s.picture));
    } else {
        EXPECT_GT(psnr(picture, back), 30);
    }
}

INSTANTIATE_TEST_SUITE_P(
    FormatsAndDepths, Writers,
    ::testing::Values(WriteCase{Format::Png, 24, 0}, WriteCase{Format::Png, 24, 1},
                      WriteCase{Format::Png, 8, 0}, WriteCase{Format::Png, 8, 1},
                      WriteCase{Format::Png, 4, 0}, WriteCase{Format::Png, 0, 1},
                      WriteCase{Format::Png, 1, 0}, WriteCase{Format::Png, 1, 1},
                      WriteCase{Format::Gif, 24, 0}, WriteCase{Format::Gif, 8, 0},
                      WriteCase{Format::Gif, 4, 0}, WriteCase{Format::Gif, 0, 0},
                      WriteCase{Format::Gif, 1, 0}, WriteCase{Format::Tiff, 24, 1},
                      WriteCase{Format::Tiff, 8, 1}, WriteCase{Format::Tiff, 4, 1},
                      WriteCase{Format::Tiff, 0, 1}, WriteCase{Format::Tiff, 1, 1},
                      WriteCase{Format::Tiff, 24, 5}, WriteCase{Format::Tiff, 8, 5},
                      WriteCase{Format::Tiff, 4, 5}, WriteCase{Format::Tiff, 1, 5},
                      WriteCase{Format::Tiff, 24, 32773}, WriteCase{Format::Tiff, 8, 32773},
                      WriteCase{Format::Tiff, 1, 32773}, WriteCase{Format::Tiff, 1, 2},
                      WriteCase{Format::Tiff, 24, 2}, WriteCase{Format::Jpeg, 24, 75},
                      WriteCase{Format::Jpeg, 24, 100}, WriteCase{Format::Jpeg, 1, 75},
                      WriteCase{Format::Jpeg, 8, 50}, WriteCase{Format::Jpeg, 0, 50}),
    caseName);

TEST(Codecs, ReadersBringPicturesToTheAskedDepth)
{
    DossierTemporaire dir;
    const QImage photo = photoPicture(50, 30);
    const QString png = dir.chemin("a.png");
    ASSERT_EQ(Ok, writePng(png, 24, false, photo, {}));
    for (const int bits : {8, 4, 0, 1}) {
        SCOPED_TRACE(bits);
        QImage out;
        ASSERT_EQ(Ok, readPng(png, bits, true, out, {}));
        EXPECT_EQ(bits == 1 ? QImage::Format_Mono : QImage::Format_Indexed8, out.format());
        EXPECT_LE(out.colorCount(), bits == 8 ? 256 : bits == 1 ? 2 : 16);
    }
    // A palette file read at 8 bits keeps its palette.
    const QImage indexed = indexedPicture(40, 20, 100);
    ASSERT_EQ(Ok, writeGif(dir.chemin("b.gif"), 8, indexed, {}));
    QImage out;
    ASSERT_EQ(Ok, readGif(dir.chemin("b.gif"), 8, false, out, {}));
    EXPECT_EQ(100, out.colorCount());
    EXPECT_TRUE(sameColours(indexed, out));
    EXPECT_EQ(BadDepth, readGif(dir.chemin("b.gif"), 7, false, out, {}));
}

// Full-resolution colour beyond a few megapixels is written with the standard
// Huffman tables (the optimised ones would hold every coefficient); smaller or
// grey pictures with optimised ones. Both must give files any reader decodes.
TEST(Codecs, JpegQualityHundredWithAndWithoutOptimisedTables)
{
    DossierTemporaire dir;
    for (const QSize size : {QSize(300, 200), QSize(2400, 1800)}) {
        const QImage photo = photoPicture(size.width(), size.height());
        for (const int bits : {24, 1}) {
            const QString path = dir.chemin(QStringLiteral("q100_%1_%2.jpg").arg(size.width()).arg(bits));
            ASSERT_EQ(Ok, writeJpeg(path, 100, 0, bits, photo, {}));
            QImage ours;
            ASSERT_EQ(Ok, readJpeg(path, 24, 1, false, ours, {}));
            const QImage qt(path);
            ASSERT_EQ(size, qt.size());
            EXPECT_GT(psnr(ours, qt), 45);
            if (bits == 24)
                EXPECT_GT(psnr(photo, ours), 45);
            else
                EXPECT_TRUE(ours.allGray());
        }
    }
}

TEST(Codecs, JpegQualityGreyAndScale)
{
    DossierTemporaire dir;
    const QImage photo = photoPicture(160, 120);
    ASSERT_EQ(Ok, writeJpeg(dir.chemin("q25.jpg"), 25, 0, 24, photo, {}));
    ASSERT_EQ(Ok, writeJpeg(dir.chemin("q95.jpg"), 95, 0, 24, photo, {}));
    ASSERT_EQ(Ok, writeJpeg(dir.chemin("smooth.jpg"), 95, 60, 24, photo, {}));
    EXPECT_LT(QFileInfo(dir.chemin("q25.jpg")).size(), QFileInfo(dir.chemin("q95.jpg")).size());
    EXPECT_NE(loadFile(dir.chemin("smooth.jpg")), loadFile(dir.chemin("q95.jpg")));

    ASSERT_EQ(Ok, writeJpeg(dir.chemin("grey.jpg"), 80, 0, 1, photo, {}));
    QImage grey;
    // Read at 8 bits, a grey file keeps its grey levels.
    ASSERT_EQ(Ok, readJpeg(dir.chemin("grey.jpg"), 8, 1, false, grey, {}));
    EXPECT_EQ(QImage::Format_Indexed8, grey.format());
    EXPECT_TRUE(grey.allGray());

    for (const int scale : {1, 2, 4, 8}) {
        QImage scaled;
        ASSERT_EQ(Ok, readJpeg(dir.chemin("q95.jpg"), 24, scale, false, scaled, {}));
        EXPECT_EQ(QSize((160 + scale - 1) / scale, (120 + scale - 1) / scale), scaled.size());
    }
    // A progressive file is read with its progress.
    QImageWriter writer(dir.chemin("p.jpg"), "JPEG");
    writer.setProgressiveScanWrite(true);
    ASSERT_TRUE(writer.write(photo));
    QList<int> seen;
    QImage progressive;
    ASSERT_EQ(Ok, readJpeg(dir.chemin("p.jpg"), 24, 1, false, progressive,
                           [&](int p) { return seen.append(p), 1; }));
    EXPECT_GT(psnr(photo, progressive), 30);
    EXPECT_GT(seen.size(), 2);
    EXPECT_EQ(100, seen.last());

    QImage none;
    EXPECT_EQ(BadArgument, readJpeg(dir.chemin("q95.jpg"), 24, 3, false, none, {}));
    EXPECT_EQ(BadArgument, writeJpeg(dir.chemin("x.jpg"), 0, 0, 24, photo, {}));
    EXPECT_EQ(BadArgument, writeJpeg(dir.chemin("x.jpg"), 101, 0, 24, photo, {}));
    EXPECT_EQ(BadArgument, writeJpeg(dir.chemin("x.jpg"), 50, 101, 24, photo, {}));
    EXPECT_FALSE(QFile::exists(dir.chemin("x.jpg")));
}

TEST(Codecs, InformationFromTheHeaders)
{
    DossierTemporaire dir;
    QImage photo = photoPicture(64, 48);
    photo.setDotsPerMeterX(11811);  // 300 dpi
    photo.setDotsPerMeterY(11811);
    struct Expected {
        QString file;
        QString type;
        int bits;
        int colours;
        int density;
        QString compression;
    };
    ASSERT_EQ(Ok, writePng(dir.chemin("a.png"), 24, false, photo, {}));
    ASSERT_EQ(Ok, writePng(dir.chemin("b.png"), 4, true, photo, {}));
    ASSERT_EQ(Ok, writeGif(dir.chemin("c.gif"), 8, photo, {}));
    ASSERT_EQ(Ok, writeGif(dir.chemin("d.gif"), 1, photo, {}));
    ASSERT_EQ(Ok, writeTiff(dir.chemin("e.tif"), 5, 24, photo, {}));
    ASSERT_EQ(Ok, writeTiff(dir.chemin("f.tif"), 2, 24, photo, {}));
    ASSERT_EQ(Ok, writeTiff(dir.chemin("g.tif"), 32773, 8, photo, {}));
    ASSERT_EQ(Ok, writeTiff(dir.chemin("h.tif"), 1, 4, photo, {}));
    ASSERT_EQ(Ok, writeJpeg(dir.chemin("i.jpg"), 80, 0, 24, photo, {}));
    ASSERT_EQ(Ok, writeJpeg(dir.chemin("j.jpg"), 80, 0, 1, photo, {}));
    // A progressive file with its density in dots per centimetre, and a
    // PNG without density, written by another library.
    {
        QImageWriter writer(dir.chemin("k.jpg"), "JPEG");
        writer.setProgressiveScanWrite(true);
        QImage dense = photo;
        dense.setDotsPerMeterX(3937);  // 100 dpi
        ASSERT_TRUE(writer.write(dense));
        QByteArray bytes = loadFile(dir.chemin("k.jpg"));
        const qsizetype jfif = bytes.indexOf("JFIF");
        ASSERT_GT(jfif, 0);
        bytes[jfif + 7] = 2;  // unit: dots per centimetre
        bytes[jfif + 8] = 0;
        bytes[jfif + 9] = 40;  // 40 per cm is 102 dpi
        saveFile(dir.chemin("k.jpg"), bytes);
    }
    const QList<Expected> expected = {
        {"a.png", "PNG", 24, 16777216, 300, "Deflate"},
        {"b.png", "PNG", 4, 16, 300, "Deflate interlaced"},
        {"c.gif", "GIF", 8, 256, 0, "LZW"},
        {"d.gif", "GIF", 1, 2, 0, "LZW"},
        {"e.tif", "TIFF", 24, 16777216, 300, "LZW"},
        {"f.tif", "TIFF", 1, 2, 300, "CCITT RLE"},
        {"g.tif", "TIFF", 8, 256, 300, "PackBits"},
        {"h.tif", "TIFF", 4, 16, 300, "None"},
        {"i.jpg", "JPEG", 24, 16777216, 300, "JPEG"},
        {"j.jpg", "JPEG", 8, 256, 300, "JPEG"},
        {"k.jpg", "JPEG", 24, 16777216, 102, "Progressive JPEG"},
    };
    for (const Expected &e : expected) {
        SCOPED_TRACE(e.file.toStdString());
        // The signature tells the format, not the name.
        const QString misnamed = dir.chemin(e.file + QStringLiteral(".bmp"));
        ASSERT_TRUE(QFile::copy(dir.chemin(e.file), misnamed));
        FileInfo info;
        ASSERT_EQ(Ok, fileInfo(misnamed, info));
        EXPECT_EQ(e.type, info.type);
        EXPECT_EQ(64, info.width);
        EXPECT_EQ(48, info.height);
        EXPECT_EQ(e.bits, info.bitsPerPixel);
        EXPECT_EQ(e.colours, info.colors);
        EXPECT_EQ(e.density, info.density);
        EXPECT_EQ(e.compression, info.compression);
        EXPECT_LE(info.compression.size(), 25);
    }
    FileInfo info;
    EXPECT_EQ(FileNotFound, fileInfo(dir.chemin("none.png"), info));
    saveFile(dir.chemin("text.png"), "not a picture at all");
    EXPECT_EQ(BadFormat, fileInfo(dir.chemin("text.png"), info));
    saveFile(dir.chemin("empty.gif"), {});
    EXPECT_EQ(BadFormat, fileInfo(dir.chemin("empty.gif"), info));
}

TEST(Codecs, DensityTravelsFromFileToFile)
{
    DossierTemporaire dir;
    QImage photo = photoPicture(20, 10);
    photo.setDotsPerMeterX(7874);  // 200 dpi
    photo.setDotsPerMeterY(7874);
    ASSERT_EQ(Ok, writeTiff(dir.chemin("a.tif"), 1, 24, photo, {}));
    QImage back;
    ASSERT_EQ(Ok, readTiff(dir.chemin("a.tif"), 8, false, back, {}));
    ASSERT_EQ(Ok, writeJpeg(dir.chemin("b.jpg"), 90, 0, 24, back, {}));
    ASSERT_EQ(Ok, readJpeg(dir.chemin("b.jpg"), 24, 1, false, back, {}));
    ASSERT_EQ(Ok, writePng(dir.chemin("c.png"), 24, false, back, {}));
    FileInfo info;
    ASSERT_EQ(Ok, fileInfo(dir.chemin("c.png"), info));
    EXPECT_EQ(200, info.density);
}

TEST(Codecs, ProgressRisesToTheEndAndAStopLeavesNoFile)
{
    DossierTemporaire dir;
    const QImage photo = photoPicture(300, 200);
    const QList<WriteCase> cases = {{Format::Png, 24, 1}, {Format::Png, 8, 0},
                                    {Format::Gif, 8, 0},  {Format::Tiff, 24, 5},
                                    {Format::Tiff, 1, 2}, {Format::Jpeg, 24, 80}};
    for (const WriteCase &c : cases) {
        SCOPED_TRACE(int(c.format) * 1000 + c.bits);
        const QString path = dir.chemin(QStringLiteral("p"));
        QList<int> seen;
        ASSERT_EQ(Ok, write(c, path, photo, [&](int p) { return seen.append(p), 1; }));
        ASSERT_FALSE(seen.isEmpty());
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        EXPECT_EQ(100, seen.last());

        seen.clear();
        QImage back;
        ASSERT_EQ(Ok, read(c.format, path, 24, back, [&](int p) { return seen.append(p), 1; }));
        ASSERT_FALSE(seen.isEmpty());
        EXPECT_EQ(100, seen.last());
        // Stopped halfway, a read fails.
        EXPECT_EQ(Stopped, read(c.format, path, 24, back, [](int p) { return p < 50; }));

        // Stopped halfway, a write fails and the earlier file stays as it was.
        const QByteArray before = loadFile(path);
        EXPECT_EQ(Stopped, write(c, path, photo, [](int p) { return p < 50; }));
        EXPECT_EQ(before, loadFile(path));
        EXPECT_EQ(QStringList{QStringLiteral("p")}, folderContents(dir.chemin()));
        ASSERT_TRUE(QFile::remove(path));
        EXPECT_EQ(Stopped, write(c, path, photo, [](int) { return 0; }));
        EXPECT_TRUE(folderContents(dir.chemin()).isEmpty());
    }
}

TEST(Codecs, WritersRefuseBadArgumentsWithoutLeavingFiles)
{
    DossierTemporaire dir;
    const QImage photo = photoPicture(10, 10);
    const QString path = dir.chemin("x");
    for (const Format format : {Format::Png, Format::Gif, Format::Tiff, Format::Jpeg}) {
        EXPECT_EQ(BadDepth, write({format, 3, format == Format::Tiff ? 1 : 75}, path, photo, {}));
        EXPECT_EQ(EmptyPicture, write({format, 24, format == Format::Tiff ? 1 : 75}, path, {}, {}));
        EXPECT_EQ(CannotCreate, write({format, 24, format == Format::Tiff ? 1 : 75},
                                      dir.chemin("missing/x"), photo, {}));
    }
    EXPECT_EQ(BadArgument, writeTiff(path, 7, 24, photo, {}));
    EXPECT_TRUE(folderContents(dir.chemin()).isEmpty());
}

namespace {

QByteArray pngChunk(const char *type, const QByteArray &data)
{
    Octets o;
    const QByteArray body = QByteArray(type, 4) + data;
    o.data.append(char(data.size() >> 24)).append(char(data.size() >> 16));
    o.data.append(char(data.size() >> 8)).append(char(data.size()));
    o.data.append(body);
    const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size()));
    o.data.append(char(crc >> 24)).append(char(crc >> 16)).append(char(crc >> 8)).append(char(crc));
    return o.data;
}

QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray ihdr;
    for (const quint32 v : {width, height})
        ihdr.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
    ihdr.append(char(8)).append(char(2)).append(3, '\0');
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", ihdr) +
           pngChunk("IDAT", QByteArray(20, '\0')) + pngChunk("IEND", {});
}

QByteArray gifClaiming(int width, int height)
{
    Octets o;
    o.bytes({'G', 'I', 'F', '8', '9', 'a'}).u16(width).u16(height).bytes({0x80, 0, 0});
    o.bytes({0, 0, 0, 255, 255, 255});
    o.u8(0x2C).u16(0).u16(0).u16(width).u16(height).u8(0);
    o.bytes({2, 2, 0x4C, 0x01, 0, 0x3B});
    return o.data;
}

QByteArray tiffClaiming(quint32 width, quint32 height)
{
    Octets o;
    o.bytes({'I', 'I', 42, 0}).u32(8).u16(6);
    auto entry = [&](int tag, int type, quint32 value) { o.u16(tag).u16(type).u32(1).u32(value); };
    entry(256, 4, width);
    entry(257, 4, height);
    entry(258, 3, 8);
    entry(262, 3, 1);
    entry(273, 4, 90);
    entry(279, 4, 16);
    o.u32(0).repeat(0, 16);
    return o.data;
}

// A JPEG with its frame size replaced.
QByteArray jpegClaiming(const QByteArray &jpeg, int width, int height)
{
    QByteArray bytes = jpeg;
    const qsizetype sof = bytes.indexOf(QByteArray("\xff\xc0", 2));
    bytes[sof + 5] = char(height >> 8);
    bytes[sof + 6] = char(height);
    bytes[sof + 7] = char(width >> 8);
    bytes[sof + 8] = char(width);
    return bytes;
}

}  // namespace

TEST(Codecs, DamagedAndMislabelledFilesFailWithAStatus)
{
    DossierTemporaire dir;
    const QImage photo = photoPicture(80, 60);
    ASSERT_EQ(Ok, writePng(dir.chemin("good.png"), 24, false, photo, {}));
    ASSERT_EQ(Ok, writeGif(dir.chemin("good.gif"), 8, photo, {}));
    ASSERT_EQ(Ok, writeTiff(dir.chemin("good.tif"), 5, 24, photo, {}));
    ASSERT_EQ(Ok, writeJpeg(dir.chemin("good.jpg"), 80, 0, 24, photo, {}));
    const QList<std::pair<Format, QString>> goods = {{Format::Png, "good.png"},
                                                     {Format::Gif, "good.gif"},
                                                     {Format::Tiff, "good.tif"},
                                                     {Format::Jpeg, "good.jpg"}};
    for (const auto &[format, name] : goods) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray bytes = loadFile(dir.chemin(name));
        QImage out;
        EXPECT_EQ(FileNotFound, read(format, dir.chemin("none"), 24, out));
        saveFile(dir.chemin("bad"), {});
        EXPECT_LT(read(format, dir.chemin("bad"), 24, out), 0);
        saveFile(dir.chemin("bad"), QByteArray(500, '\x5a'));
        EXPECT_LT(read(format, dir.chemin("bad"), 24, out), 0);
        // Another format's file under this reader.
        for (const auto &[other, otherName] : goods)
            if (other != format) {
                EXPECT_LT(read(format, dir.chemin(otherName), 24, out), 0);
            }
        // Cut short at several places (the JPEG reader shows what arrived).
        for (const double part : {0.05, 0.3, 0.7, 0.98}) {
            saveFile(dir.chemin("cut"), bytes.left(qsizetype(bytes.size() * part)));
            const int status = read(format, dir.chemin("cut"), 24, out);
            if (format != Format::Jpeg || part < 0.3) {
                EXPECT_LT(status, 0) << part;
            }
        }
        // Garbled at random places: a status, and a picture exactly on success.
        QRandomGenerator random(1234);
        for (int attempt = 0; attempt < 60; ++attempt) {
            QByteArray garbled = bytes;
            for (int n = 1 + attempt % 8; n > 0; --n)
                garbled[random.bounded(garbled.size())] = char(random.bounded(256));
            saveFile(dir.chemin("garbled"), garbled);
            QImage picture;
            const int status = read(format, dir.chemin("garbled"), attempt % 2 ? 8 : 24, picture);
            if (status != Truncated) {
                EXPECT_EQ(status > 0, !picture.isNull()) << attempt;
            }
        }
    }
}

TEST(Codecs, HeadersClaimingHugeOrEmptyPicturesAreRefused)
{
    DossierTemporaire dir;
    QImage out;
    saveFile(dir.chemin("a"), pngClaiming(100000, 100000));
    EXPECT_EQ(TooLarge, readPng(dir.chemin("a"), 24, false, out, {}));
    saveFile(dir.chemin("a"), pngClaiming(30000, 30000));
    EXPECT_EQ(TooLarge, readPng(dir.chemin("a"), 24, false, out, {}));
    saveFile(dir.chemin("a"), pngClaiming(0, 10));
    EXPECT_EQ(BadFormat, readPng(dir.chemin("a"), 24, false, out, {}));

    saveFile(dir.chemin("b"), gifClaiming(65535, 65535));
    EXPECT_EQ(TooLarge, readGif(dir.chemin("b"), 24, false, out, {}));
    saveFile(dir.chemin("b"), gifClaiming(0, 0));
    EXPECT_EQ(BadFormat, readGif(dir.chemin("b"), 24, false, out, {}));

    saveFile(dir.chemin("c"), tiffClaiming(100000, 100000));
    EXPECT_EQ(TooLarge, readTiff(dir.chemin("c"), 24, false, out, {}));
    saveFile(dir.chemin("c"), tiffClaiming(0, 5));
    EXPECT_LT(readTiff(dir.chemin("c"), 24, false, out, {}), 0);

    ASSERT_EQ(Ok, writeJpeg(dir.chemin("d.jpg"), 80, 0, 24, photoPicture(16, 16), {}));
    const QByteArray jpeg = loadFile(dir.chemin("d.jpg"));
    saveFile(dir.chemin("d"), jpegClaiming(jpeg, 65000, 65000));
    EXPECT_EQ(TooLarge, readJpeg(dir.chemin("d"), 24, 1, false, out, {}));
    saveFile(dir.chemin("d"), jpegClaiming(jpeg, 0, 16));
    EXPECT_EQ(BadFormat, readJpeg(dir.chemin("d"), 24, 1, false, out, {}));
    EXPECT_TRUE(out.isNull());
}

namespace {

// An RLE8 (`bits` 8) or RLE4 (4) bitmap: headers, grey table, then `runs`.
QByteArray bmpRle(int bits, int width, int height, std::initializer_list<int> runs)
{
    const int colours = 1 << bits, table = 4 * colours;
    Octets o;
    o.bytes({'B', 'M'}).u32(14 + 40 + table + qint64(runs.size())).u32(0).u32(14 + 40 + table);
    o.u32(40).u32(width).u32(height).u16(1).u16(bits).u32(bits == 8 ? 1 : 2).u32(qint64(runs.size()));
    o.u32(0).u32(0).u32(colours).u32(0);
    for (int i = 0; i < colours; ++i)
        o.bytes({i, i, i, 0});
    o.bytes(runs);
    return o.data;
}

// An 8-bit PCX with a few bytes of pixels and its palette.
QByteArray pcxClaiming(int width, int height)
{
    Octets o;
    o.bytes({0x0A, 5, 1, 8}).u16(0).u16(0).u16(width - 1).u16(height - 1).u16(72).u16(72);
    o.repeat(0, 48).u8(0).u8(1).u16((width + 1) & ~1).u16(1).repeat(0, 58);
    o.bytes({0xFF, 0, 0xFF, 0}).u8(0x0C).repeat(0, 768);
    return o.data;
}

// A true colour PNG whose data holds only its first `rows` rows.
QByteArray pngWithRows(quint32 width, quint32 height, int rows)
{
    const QByteArray raw(qsizetype(rows) * (1 + 3 * width), '\0');
    QByteArray deflated(qsizetype(compressBound(uLong(raw.size()))), '\0');
    uLongf size = uLongf(deflated.size());
    compress(reinterpret_cast<Bytef *>(deflated.data()), &size, reinterpret_cast<const Bytef *>(raw.data()),
             uLong(raw.size()));
    QByteArray png = pngClaiming(width, height);
    const qsizetype idat = png.indexOf("IDAT") - 4;
    return png.left(idat) + pngChunk("IDAT", deflated.left(qsizetype(size))) + pngChunk("IEND", {});
}

// A 32 x 32 PNG behind a text chunk whose length claims `claimed` bytes.
QByteArray pngWithTextClaiming(quint32 claimed)
{
    QByteArray png = pngWithRows(32, 32, 32);
    const QByteArray text = pngChunk("tEXt", QByteArray("Comment\0", 8) + QByteArray(1200, 'x'));
    QByteArray header = text.left(4);
    for (int i = 0; i < 4; ++i)
        header[i] = char(claimed >> (24 - 8 * i));
    return png.left(33) + header + text.mid(4) + png.mid(33);
}

// The file cut to `share` of its length.
QByteArray cut(const QByteArray &bytes, double share) { return bytes.left(qsizetype(bytes.size() * share)); }

// Reads `path` with the reader its extension names.
int readByName(const QString &path)
{
    QImage out;
    const QString suffix = path.section(QLatin1Char('.'), -1);
    return suffix == QLatin1String("bmp")   ? readBmp(path, 24, false, out, {})
           : suffix == QLatin1String("pcx") ? readPcx(path, 24, false, out, {})
           : suffix == QLatin1String("png") ? read(Format::Png, path, 24, out)
           : suffix == QLatin1String("gif") ? read(Format::Gif, path, 24, out)
           : suffix == QLatin1String("tif") ? read(Format::Tiff, path, 24, out)
                                            : read(Format::Jpeg, path, 24, out);
}

// The most memory, in megabytes, that vistarama-convert holds converting `path`
// into `folder` (a program of its own: its peak is not this test's).
long converterMegabytes(const QString &path, const QString &folder)
{
    const QByteArray file = QFile::encodeName(path), dest = QFile::encodeName(folder);
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execl(VISTA_CONVERTER, "vistarama-convert", "--format", "bmp", "--dest", dest.constData(),
              file.constData(), static_cast<char *>(nullptr));
        _exit(127);
    }
    int wait = 0;
    rusage usage{};
    wait4(child, &wait, 0, &usage);
    return WIFEXITED(wait) && WEXITSTATUS(wait) != 127 ? usage.ru_maxrss / 1024 : -1;
}

}  // namespace

// Small files claiming huge pictures, or whose pixels stop long before the
// picture does: refused before decoding or incomplete, never a picture of zeros.
TEST(Codecs, EveryReadingKeepsToItsBudget)
{
    DossierTemporaire dir;
    const QImage photo = photoPicture(400, 300);
    ASSERT_EQ(Ok, writeTiff(dir.chemin("lzw.tif"), 5, 24, photo, {}));
    ASSERT_EQ(Ok, writeTiff(dir.chemin("packbits.tif"), 32773, 24, photo, {}));
    ASSERT_EQ(Ok, writeGif(dir.chemin("photo.gif"), 8, photo, {}));
    ASSERT_EQ(Ok, writeJpeg(dir.chemin("photo.jpg"), 90, 0, 24, photo, {}));
    const struct {
        const char *name;
        QByteArray bytes;
        int status;
    } cases[] = {
        {"rle8.bmp", bmpRle(8, 16000, 16000, {0, 0, 0, 1}), TooLarge},
        {"rle8_ended.bmp", bmpRle(8, 4000, 4000, {4, 7, 0, 0, 0, 1}), Truncated},
        {"rle8_cut.bmp", bmpRle(8, 4000, 4000, {4, 7, 0, 0}), Truncated},
        {"rle4_ended.bmp", bmpRle(4, 4000, 4000, {4, 0x12, 0, 2, 200, 200, 0, 1}), Truncated},
        {"huge.pcx", pcxClaiming(16000, 16000), TooLarge},
        {"cut.pcx", pcxClaiming(4000, 4000), Truncated},
        {"zeros.png", pngClaiming(16384, 16384), TooLarge},
        {"cut.png", pngWithRows(4000, 4000, 3), Truncated},
        {"text.png", pngWithTextClaiming(1900000000), Truncated},
        {"huge.gif", gifClaiming(16000, 16000), TooLarge},
        {"lzw_short.gif", gifClaiming(4000, 4000), Truncated},
        {"lzw_cut.gif", cut(loadFile(dir.chemin("photo.gif")), 0.5), Truncated},
        {"huge.tif", tiffClaiming(16000, 16000), TooLarge},
        {"short_strip.tif", tiffClaiming(4000, 4000), Truncated},
        {"lzw_cut.tif", cut(loadFile(dir.chemin("lzw.tif")), 0.5), Truncated},
        {"packbits_cut.tif", cut(loadFile(dir.chemin("packbits.tif")), 0.5), Truncated},
        {"cut.jpg", cut(loadFile(dir.chemin("photo.jpg")), 0.6), Truncated},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        saveFile(dir.chemin(c.name), c.bytes);
        EXPECT_EQ(errorText(c.status), errorText(readByName(dir.chemin(c.name))));
        const long megabytes = converterMegabytes(dir.chemin(c.name), dir.chemin());
        EXPECT_GE(megabytes, 0);
        EXPECT_LT(megabytes, 400);
    }
    // None of them was converted into anything.
    EXPECT_TRUE(QDir(dir.chemin(), "*.BMP", QDir::Name, QDir::Files | QDir::CaseSensitive).entryList().isEmpty());
    EXPECT_EQ(QStringLiteral("Fichier image incomplet"), errorText(Truncated));
    EXPECT_EQ(QStringLiteral("Image trop grande"), errorText(TooLarge));
}

TEST(Codecs, GifWithoutScreenWidthOrHeightIsRefusedByInformationAndReading)
{
    DossierTemporaire dir;
    for (const auto &[width, height] : {std::pair{0, 20}, std::pair{20, 0}}) {
        QByteArray gif = gifClaiming(20, 20);
        gif[6] = char(width);
        gif[8] = char(height);
        saveFile(dir.chemin("a.gif"), gif);
        FileInfo info;
        QImage out;
        EXPECT_EQ(BadFormat, fileInfo(dir.chemin("a.gif"), info)) << width;
        EXPECT_EQ(BadFormat, readGif(dir.chemin("a.gif"), 24, false, out, {})) << width;
    }
}

TEST(Codecs, TruncatedJpegShowsWhatArrivedAndGreyBeyond)
{
    DossierTemporaire dir;
    const QImage photo = photoPicture(200, 200);
    ASSERT_EQ(Ok, writeJpeg(dir.chemin("a.jpg"), 90, 0, 24, photo, {}));
    const QByteArray bytes = loadFile(dir.chemin("a.jpg"));
    saveFile(dir.chemin("cut.jpg"), bytes.left(bytes.size() * 2 / 3));
    QImage out;
    ASSERT_EQ(Truncated, readJpeg(dir.chemin("cut.jpg"), 24, 1, false, out, {}));
    EXPECT_GT(psnr(photo.copy(0, 0, 200, 40), out.copy(0, 0, 200, 40)), 30);
    const QRgb last = out.pixel(195, 195);
    EXPECT_NEAR(128, qRed(last), 8);
    EXPECT_NEAR(128, qGreen(last), 8);
    EXPECT_GT(qRed(photo.pixel(195, 195)), 200);

    // Cut right behind its headers, a file holds no picture.
    const qsizetype sos = bytes.indexOf(QByteArray("\xff\xda", 2));
    const int length = uchar(bytes[sos + 2]) << 8 | uchar(bytes[sos + 3]);
    saveFile(dir.chemin("headers.jpg"), bytes.left(sos + 2 + length));
    EXPECT_EQ(Truncated, readJpeg(dir.chemin("headers.jpg"), 24, 1, false, out, {}));
}

TEST(Codecs, PngVariantsOfOtherWritersReadAsTheirColours)
{
    DossierTemporaire dir;
    const QImage photo = photoPicture(45, 23);
    QImage translucent = photo.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < translucent.height(); ++y)
        for (int x = 0; x < translucent.width(); ++x)
            translucent.setPixel(x, y, (translucent.pixel(x, y) & 0xffffff) | uint(x * 5) << 24);
    const QList<QImage> variants = {
        photo.convertToFormat(QImage::Format_RGBA64),      // 16 bits per sample, alpha
        photo.convertToFormat(QImage::Format_Grayscale16),  // 16-bit grey
        photo.convertToFormat(QImage::Format_Grayscale8),
        translucent,                                        // laid on white
        indexedPicture(45, 23, 3),                          // 2 bits per index
        indexedPicture(45, 23, 2).convertToFormat(QImage::Format_Mono),
    };
    for (const QImage &variant : variants) {
        SCOPED_TRACE(int(variant.format()));
        const QString path = dir.chemin(QStringLiteral("v.png"));
        ASSERT_TRUE(variant.save(path, "PNG"));
        QImage out;
        ASSERT_EQ(Ok, readPng(path, 24, false, out, {}));
        QImage expected = variant.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < expected.height(); ++y)
            for (int x = 0; x < expected.width(); ++x) {
                const QRgb c = QColor::fromRgba64(variant.pixelColor(x, y).rgba64()).rgba();
                const auto onWhite = [&](int value) { return (value * qAlpha(c) + 255 * (255 - qAlpha(c))) / 255; };
                expected.setPixel(x, y, qRgb(onWhite(qRed(c)), onWhite(qGreen(c)), onWhite(qBlue(c))));
            }
        EXPECT_GT(psnr(expected, out), 45);
    }
    // An interlaced file of another writer.
    QImageWriter writer(dir.chemin("i.png"), "PNG");
    writer.setProgressiveScanWrite(true);
    ASSERT_TRUE(writer.write(photo));
    QImage out;
    ASSERT_EQ(Ok, readPng(dir.chemin("i.png"), 24, false, out, {}));
    EXPECT_TRUE(sameColours(photo, out));
}

namespace {

// A PNG of one row written with libpng: `samples` in the file's depth, then
// what says which pixels are transparent and the background it names.
struct TransparentPng {
    const char *name;
    int type, depth;
    std::vector<int> samples;
    std::vector<uchar> paletteAlphas;  // tRNS of a palette (red, blue, green)
    int transparentBlue;               // tRNS of a colour: blue at full value; 0: none
    int background;                    // bKGD: 0 none, 1 black (entry 0 of a palette: red)
    std::vector<QRgb> expected;
    bool gamma = false;  // gAMA of 1/2.2
};

void writePng(const QString &path, const TransparentPng &c)
{
    FILE *file = std::fopen(QFile::encodeName(path).constData(), "wb");
    ASSERT_TRUE(file);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    const int perPixel = c.type == PNG_COLOR_TYPE_RGBA ? 4 : c.type == PNG_COLOR_TYPE_RGB ? 3
                         : c.type == PNG_COLOR_TYPE_GRAY_ALPHA ? 2 : 1;
    const int width = int(c.samples.size()) / perPixel;
    png_set_IHDR(png, info, png_uint_32(width), 1, c.depth, c.type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color palette[3] = {{255, 0, 0}, {0, 0, 255}, {0, 255, 0}};
    if (c.type == PNG_COLOR_TYPE_PALETTE)
        png_set_PLTE(png, info, palette, 3);
    if (!c.paletteAlphas.empty())
        png_set_tRNS(png, info, c.paletteAlphas.data(), int(c.paletteAlphas.size()), nullptr);
    const int full = (1 << c.depth) - 1;
    png_color_16 blue = {0, 0, 0, png_uint_16(full), 0};
    if (c.transparentBlue)
        png_set_tRNS(png, info, nullptr, 0, &blue);
    png_color_16 black = {0, 0, 0, 0, 0};
    if (c.background)
        png_set_bKGD(png, info, &black);
    if (c.gamma)
        png_set_gAMA_fixed(png, info, 45455);
    png_write_info(png, info);
    std::vector<uchar> row;
    for (const int sample : c.samples) {
        if (c.depth == 16)
            row.push_back(uchar(sample >> 8));
        row.push_back(uchar(sample));
    }
    png_write_row(png, row.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

}  // namespace

// Transparent and translucent pixels are laid on the background the file names,
// or on white, whatever says which ones they are.
TEST(Codecs, PngTransparencyIsLaidOnTheBackground)
{
    const QRgb red = qRgb(255, 0, 0), white = qRgb(255, 255, 255), paleGreen = qRgb(127, 255, 127);
    const QRgb halfGreen = qRgb(0, 128, 0);
    const TransparentPng cases[] = {
        {"RGBA", PNG_COLOR_TYPE_RGBA, 8, {255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 128}, {}, 0, 0, {red, white, paleGreen}},
        {"RGBA, 16 bits",
         PNG_COLOR_TYPE_RGBA,
         16,
         {65535, 0, 0, 65535, 0, 0, 65535, 0, 0, 65535, 0, 32896},
         {},
         0,
         0,
         {red, white, paleGreen}},
        {"RGBA with a gamma, mixed as stored", PNG_COLOR_TYPE_RGBA, 8, {255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 128},
         {}, 0, 0, {red, white, paleGreen}, true},
        {"RGBA on black", PNG_COLOR_TYPE_RGBA, 8, {255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 128}, {}, 0, 1,
         {red, qRgb(0, 0, 0), halfGreen}},
        {"grey and alpha", PNG_COLOR_TYPE_GRAY_ALPHA, 8, {0, 255, 0, 0, 0, 128}, {}, 0, 0,
         {qRgb(0, 0, 0), white, qRgb(127, 127, 127)}},
        {"palette", PNG_COLOR_TYPE_PALETTE, 8, {0, 1, 2}, {255, 0, 128}, 0, 0, {red, white, paleGreen}},
        {"palette on its first entry", PNG_COLOR_TYPE_PALETTE, 8, {0, 1, 2}, {255, 0, 128}, 0, 1,
         {red, red, qRgb(127, 128, 0)}},
        {"RGB with a transparent colour", PNG_COLOR_TYPE_RGB, 8, {255, 0, 0, 0, 0, 255, 0, 255, 0}, {}, 1, 0,
         {red, white, qRgb(0, 255, 0)}},
    };
    DossierTemporaire dir;
    for (const TransparentPng &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.chemin(QStringLiteral("t.png"));
        writePng(path, c);
        QImage out;
        ASSERT_EQ(Ok, readPng(path, 24, false, out, {}));
        ASSERT_EQ(int(c.expected.size()), out.width());
        for (int x = 0; x < out.width(); ++x)
            for (const int shift : {16, 8, 0})  // red, green, blue
                EXPECT_NEAR(int(c.expected[size_t(x)] >> shift & 255), int(out.pixel(x, 0) >> shift & 255), 1)
                    << "pixel " << x;
    }
}

namespace {

// A GIF written with giflib: a 2-colour global map, a 16-colour local map,
// interlaced rows, placed at (3, 2) on a larger screen.
void writeInterlacedGif(const QString &path, const QImage &indexed, QSize screen = {}, QPoint at = {3, 2})
{
    int error = 0;
    GifFileType *gif = EGifOpenFileName(QFile::encodeName(path).constData(), false, &error);
    ASSERT_TRUE(gif);
    GifColorType globalColours[2] = {{0, 0, 0}, {255, 255, 255}};
    std::vector<GifColorType> localColours;
    for (const QRgb c : indexed.colorTable())
        localColours.push_back({GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))});
    ColorMapObject *global = GifMakeMapObject(2, globalColours);
    ColorMapObject *local = GifMakeMapObject(16, localColours.data());
    const int w = indexed.width(), h = indexed.height();
    if (screen.isEmpty())
        screen = QSize(w + 5, h + 4);
    EGifPutScreenDesc(gif, screen.width(), screen.height(), 4, 1, global);
    EGifPutImageDesc(gif, at.x(), at.y(), w, h, true, local);
    static const int first[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = first[pass]; y < h; y += step[pass]) {
            std::vector<GifPixelType> row(indexed.constScanLine(y), indexed.constScanLine(y) + w);
            EGifPutLine(gif, row.data(), w);
        }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(global);
    GifFreeMapObject(local);
}

}  // namespace

TEST(Codecs, InterlacedGifWithLocalColoursOnALargerScreen)
{
    DossierTemporaire dir;
    const QImage indexed = indexedPicture(21, 19, 16);
    writeInterlacedGif(dir.chemin("i.gif"), indexed);
    QImage out;
    ASSERT_EQ(Ok, readGif(dir.chemin("i.gif"), 24, false, out, {}));
    ASSERT_EQ(QSize(26, 23), out.size());
    EXPECT_TRUE(sameColours(indexed, out.copy(3, 2, 21, 19)));
    // Around the picture: the screen's background colour (white, entry 1).
    EXPECT_EQ(qRgb(255, 255, 255), out.pixel(0, 0));
    EXPECT_EQ(qRgb(255, 255, 255), out.pixel(25, 22));
    FileInfo info;
    ASSERT_EQ(Ok, fileInfo(dir.chemin("i.gif"), info));
    EXPECT_EQ(26, info.width);
    EXPECT_EQ(1, info.bitsPerPixel);
    EXPECT_EQ(2, info.colors);
}

TEST(Codecs, GifInformationGivesTheSizeThatReadingGives)
{
    DossierTemporaire dir;
    // The picture overflows its 32 x 32 screen to 40 x 40.
    writeInterlacedGif(dir.chemin("o.gif"), indexedPicture(32, 32, 16), QSize(32, 32), QPoint(8, 8));
    QImage out;
    ASSERT_EQ(Ok, readGif(dir.chemin("o.gif"), 24, false, out, {}));
    FileInfo info;
    ASSERT_EQ(Ok, fileInfo(dir.chemin("o.gif"), info));
    EXPECT_EQ(QSize(40, 40), out.size());
    EXPECT_EQ(out.size(), QSize(info.width, info.height));
}

TEST(Codecs, TiffVariantsOfLibtiffReadAsTheirColours)
{
    DossierTemporaire dir;
    const int w = 37, h = 21;
    const QImage photo = photoPicture(w, h);
    struct Variant {
        int bits;
        int photometric;
        int planar;
        bool tiled;
    };
    for (const Variant v : {Variant{16, PHOTOMETRIC_RGB, PLANARCONFIG_CONTIG, false},
                            Variant{8, PHOTOMETRIC_RGB, PLANARCONFIG_SEPARATE, false},
                            Variant{8, PHOTOMETRIC_RGB, PLANARCONFIG_CONTIG, true},
                            Variant{8, PHOTOMETRIC_MINISWHITE, PLANARCONFIG_CONTIG, false}}) {
        SCOPED_TRACE(v.bits * 100 + v.photometric * 10 + v.planar);
        const QString path = dir.chemin("v.tif");
        TIFF *tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
        ASSERT_TRUE(tiff);
        const bool grey = v.photometric == PHOTOMETRIC_MINISWHITE;
        const int samples = grey ? 1 : 3;
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, w);
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, h);
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, v.bits);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, v.photometric);
        TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, v.planar);
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
        const int bytes = v.bits / 8;
        // Sample s of pixel (x, y) as the file stores it.
        auto sample = [&](int x, int y, int s) -> int {
            const QRgb c = photo.pixel(x, y);
            const int value = grey ? 255 - qGray(c) : s == 0 ? qRed(c) : s == 1 ? qGreen(c) : qBlue(c);
            return bytes == 2 ? value * 257 : value;
        };
        if (v.tiled) {
            TIFFSetField(tiff, TIFFTAG_TILEWIDTH, 16);
            TIFFSetField(tiff, TIFFTAG_TILELENGTH, 16);
            std::vector<uchar> tile(16 * 16 * 3);
            for (int ty = 0; ty < h; ty += 16)
                for (int tx = 0; tx < w; tx += 16) {
                    std::fill(tile.begin(), tile.end(), 0);
                    for (int y = ty; y < std::min(h, ty + 16); ++y)
                        for (int x = tx; x < std::min(w, tx + 16); ++x)
                            for (int s = 0; s < 3; ++s)
                                tile[size_t(((y - ty) * 16 + x - tx) * 3 + s)] = uchar(sample(x, y, s));
                    TIFFWriteTile(tiff, tile.data(), uint32_t(tx), uint32_t(ty), 0, 0);
                }
        } else {
            const int planes = v.planar == PLANARCONFIG_SEPARATE ? 3 : 1;
            const int perPixel = planes == 3 ? 1 : samples;
            std::vector<uchar> row(size_t(w * perPixel * bytes));
            for (int plane = 0; plane < planes; ++plane)
                for (int y = 0; y < h; ++y) {
                    for (int x = 0; x < w; ++x)
                        for (int s = 0; s < perPixel; ++s) {
                            const int value = sample(x, y, planes == 3 ? plane : s);
                            uchar *at = &row[size_t((x * perPixel + s) * bytes)];
                            if (bytes == 2)
                                *reinterpret_cast<quint16 *>(at) = quint16(value);
                            else
                                *at = uchar(value);
                        }
                    TIFFWriteScanline(tiff, row.data(), uint32_t(y), uint16_t(plane));
                }
        }
        TIFFClose(tiff);

        QImage out;
        ASSERT_EQ(Ok, readTiff(path, 24, false, out, {}));
        const QImage expected = grey ? photo.convertToFormat(QImage::Format_Grayscale8) : photo;
        EXPECT_TRUE(sameColours(expected, out));
        FileInfo info;
        ASSERT_EQ(Ok, fileInfo(path, info));
        EXPECT_EQ(v.bits * samples, info.bitsPerPixel);
        EXPECT_EQ(QStringLiteral("Deflate"), info.compression);
    }
}
