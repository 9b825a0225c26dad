// BMP reading, writing and information, on pictures written here and on
// variants crafted byte by byte.
#include "pictures.h"
#include "bytes.h"
#include "codecs.h"
#include "ecran.h"
#include "octets.h"
#include "sky.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace sky;

namespace {

// File header and 40-byte info header.
Octets bmpHeaders(int width, int height, int bits, int compression, int colours, int offset,
                  int ppm = 0)
{
    Octets o;
    o.bytes({'B', 'M'}).u32(0).u32(0).u32(offset);
    o.u32(40).u32(width).u32(height).u16(1).u16(bits).u32(compression).u32(0);
    o.u32(ppm).u32(ppm).u32(colours).u32(0);
    return o;
}

void addGreyTable(Octets &o, int count)
{
    for (int i = 0; i < count; ++i)
        o.bytes({i * 10, i * 10, i * 10, 0});
}

QVector<int> indicesOf(const QImage &image, int y)
{
    QVector<int> row;
    for (int x = 0; x < image.width(); ++x)
        row.append(image.pixelIndex(x, y));
    return row;
}

// A picture at each depth, with an odd width so that rows need padding.
QImage samplePicture(int bits)
{
    const int w = 57, h = 33;
    if (bits == 24) {
        QImage image(w, h, QImage::Format_RGB888);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.setPixel(x, y, qRgb(x * 4, y * 7, (x * y) & 255));
        return image;
    }
    const int colours = bits == 1 ? 2 : bits == 4 ? 16 : 200;
    QImage image(w, h, QImage::Format_Indexed8);
    QVector<QRgb> palette;
    for (int i = 0; i < colours; ++i)
        palette.append(qRgb(i * 37 & 255, 255 - i, i * 11 & 255));
    if (bits == 1)  // one bit is black and white
        palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    image.setColorTable(palette);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, uint((x * 7 + y * 3) % colours));
    return bits == 1 ? image.convertToFormat(QImage::Format_Mono, palette) : image;
}

}  // namespace

TEST(Bmp, RoundTripsKeepPixelsAndPalette)
{
    DossierTemporaire dir;
    for (const int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        QImage picture = samplePicture(bits);
        picture.setDotsPerMeterX(11811);  // 300 dpi
        picture.setDotsPerMeterY(11811);
        const QString path = dir.chemin(QStringLiteral("rt%1.bmp").arg(bits));
        ASSERT_EQ(Ok, writeBmp(path, bits, picture, {}));

        QImage back;
        ASSERT_EQ(Ok, readBmp(path, bits, false, back, {}));
        expectSamePixels(picture, back);
        if (bits < 24) {
            EXPECT_EQ(picture.colorCount(), back.colorCount());
        }
        // An independent reader sees the same picture.
        expectSamePixels(picture, QImage(path, "BMP"));

        FileInfo info;
        ASSERT_EQ(Ok, bmpInfo(path, info));
        EXPECT_EQ(QStringLiteral("BMP"), info.type);
        EXPECT_EQ(57, info.width);
        EXPECT_EQ(33, info.height);
        EXPECT_EQ(bits, info.bitsPerPixel);
        EXPECT_EQ(300, info.density);
        EXPECT_EQ(bits == 24 ? 16777216 : picture.colorCount(), info.colors);
        EXPECT_EQ(QStringLiteral("None"), info.compression);
    }
}

TEST(Bmp, WritesBottomUpPaddedRowsBehindItsHeaders)
{
    DossierTemporaire dir;
    QImage picture(3, 2, QImage::Format_RGB888);
    picture.setPixel(0, 0, qRgb(1, 2, 3));
    picture.setPixel(0, 1, qRgb(4, 5, 6));
    picture.setDotsPerMeterX(2835);
    picture.setDotsPerMeterY(2835);
    ASSERT_EQ(Ok, writeBmp(dir.chemin("a.bmp"), 24, picture, {}));
    const QByteArray bytes = loadFile(dir.chemin("a.bmp"));
    const auto *b = reinterpret_cast<const uchar *>(bytes.constData());
    ASSERT_EQ(54 + 2 * 12, bytes.size());
    EXPECT_EQ(bytes.size(), le32(b + 2));
    EXPECT_EQ(54u, le32(b + 10));
    EXPECT_EQ(24, le16(b + 28));
    EXPECT_EQ(24u, le32(b + 34));     // size of the pixels
    EXPECT_EQ(2835u, le32(b + 38));   // pixels per metre
    // The bottom row comes first, in blue-green-red order, padded to 12 bytes.
    EXPECT_EQ(QByteArray("\x06\x05\x04", 3), bytes.mid(54, 3));
    EXPECT_EQ(QByteArray(3, '\0'), bytes.mid(54 + 9, 3));
    EXPECT_EQ(QByteArray("\x03\x02\x01", 3), bytes.mid(66, 3));

    // The VGA depth is written as 4 bits with its 16 colours.
    ASSERT_EQ(Ok, writeBmp(dir.chemin("vga.bmp"), 0, samplePicture(24), {}));
    FileInfo info;
    ASSERT_EQ(Ok, bmpInfo(dir.chemin("vga.bmp"), info));
    EXPECT_EQ(4, info.bitsPerPixel);
    EXPECT_EQ(16, info.colors);
}

TEST(Bmp, ReadsRle8WithDeltasAndEndsOfLine)
{
    Octets o = bmpHeaders(6, 4, 8, 1, 8, 54 + 32);
    addGreyTable(o, 8);
    o.bytes({3, 1, 0, 3, 2, 3, 4, 0, 0, 0});  // row 0: run, absolute run (padded), end of line
    o.bytes({2, 5, 0, 2, 2, 1});              // row 1: run, delta 2 right and 1 up
    o.bytes({2, 6, 0, 0, 1, 7, 0, 1});        // row 2: run, end of line; row 3: run; end
    QImage image;
    ASSERT_EQ(Ok, decodeBmp(o.ptr(), o.size(), image));
    ASSERT_EQ(QImage::Format_Indexed8, image.format());
    EXPECT_EQ(8, image.colorCount());
    EXPECT_EQ(QVector<int>({1, 1, 1, 2, 3, 4}), indicesOf(image, 3));
    EXPECT_EQ(QVector<int>({5, 5, 0, 0, 0, 0}), indicesOf(image, 2));
    EXPECT_EQ(QVector<int>({0, 0, 0, 0, 6, 6}), indicesOf(image, 1));
    EXPECT_EQ(QVector<int>({7, 0, 0, 0, 0, 0}), indicesOf(image, 0));
    EXPECT_EQ(qRgb(30, 30, 30), image.color(3));
}

TEST(Bmp, ReadsRle4)
{
    Octets o = bmpHeaders(5, 2, 4, 2, 0, 54 + 64, 3780);
    addGreyTable(o, 16);
    o.bytes({5, 0x12, 0, 0});                  // row 0: alternating 1 and 2
    o.bytes({0, 5, 0x34, 0x56, 0x70, 0, 0, 1});  // row 1: 5 literal nibbles, padded
    QImage image;
    ASSERT_EQ(Ok, decodeBmp(o.ptr(), o.size(), image));
    EXPECT_EQ(16, image.colorCount());
    EXPECT_EQ(QVector<int>({1, 2, 1, 2, 1}), indicesOf(image, 1));
    EXPECT_EQ(QVector<int>({3, 4, 5, 6, 7}), indicesOf(image, 0));
    EXPECT_EQ(96, qRound(image.dotsPerMeterX() * 0.0254));
}

TEST(Bmp, ReadsCoreHeaderWithThreeByteColours)
{
    Octets o;
    o.bytes({'B', 'M'}).u32(0).u32(0).u32(14 + 12 + 6);
    o.u32(12).u16(3).u16(2).u16(1).u16(1);
    o.bytes({0, 0, 255, 255, 0, 0});  // red, blue
    o.bytes({0xA0, 0, 0, 0, 0x40, 0, 0, 0});
    QImage image;
    ASSERT_EQ(Ok, decodeBmp(o.ptr(), o.size(), image));
    EXPECT_EQ(2, image.colorCount());
    EXPECT_EQ(qRgb(255, 0, 0), image.color(0));
    EXPECT_EQ(QVector<int>({1, 0, 1}), indicesOf(image, 1));
    EXPECT_EQ(QVector<int>({0, 1, 0}), indicesOf(image, 0));
}

TEST(Bmp, ReadsTopDownRowsAndSkipsToThePixelOffset)
{
    Octets o = bmpHeaders(2, -2, 24, 0, 0, 54 + 10);
    o.repeat(0xEE, 10);  // gap before the pixels
    o.bytes({1, 2, 3, 4, 5, 6, 0, 0}).bytes({7, 8, 9, 10, 11, 12, 0, 0});
    QImage image;
    ASSERT_EQ(Ok, decodeBmp(o.ptr(), o.size(), image));
    ASSERT_EQ(QImage::Format_RGB888, image.format());
    EXPECT_EQ(qRgb(3, 2, 1), image.pixel(0, 0));
    EXPECT_EQ(qRgb(12, 11, 10), image.pixel(1, 1));
}

TEST(Bmp, Reads16BitFieldsAndDefault555)
{
    Octets o = bmpHeaders(4, 1, 16, 3, 0, 54 + 12);
    o.u32(0xF800).u32(0x07E0).u32(0x001F);
    o.u16(0xF800).u16(0x07E0).u16(0x001F).u16(0x8410);
    QImage image;
    ASSERT_EQ(Ok, decodeBmp(o.ptr(), o.size(), image));
    EXPECT_EQ(qRgb(255, 0, 0), image.pixel(0, 0));
    EXPECT_EQ(qRgb(0, 255, 0), image.pixel(1, 0));
    EXPECT_EQ(qRgb(0, 0, 255), image.pixel(2, 0));
    EXPECT_EQ(qRgb(132, 130, 132), image.pixel(3, 0));

    Octets plain = bmpHeaders(2, 1, 16, 0, 0, 54);
    plain.u16(0x7FFF).u16(0x7C00);
    ASSERT_EQ(Ok, decodeBmp(plain.ptr(), plain.size(), image));
    EXPECT_EQ(qRgb(255, 255, 255), image.pixel(0, 0));
    EXPECT_EQ(qRgb(255, 0, 0), image.pixel(1, 0));
}

TEST(Bmp, Reads32BitsWithVersion5HeaderMasks)
{
    Octets o;
    o.bytes({'B', 'M'}).u32(0).u32(0).u32(14 + 124);
    o.u32(124).u32(2).u32(1).u16(1).u16(32).u32(3).u32(8).u32(0).u32(0).u32(0).u32(0);
    o.u32(0x000000FF).u32(0x0000FF00).u32(0x00FF0000).u32(0xFF000000);  // red is the low byte
    o.repeat(0, 124 - 56);
    o.bytes({10, 20, 30, 255, 40, 50, 60, 0});
    QImage image;
    ASSERT_EQ(Ok, decodeBmp(o.ptr(), o.size(), image));
    EXPECT_EQ(qRgb(10, 20, 30), image.pixel(0, 0));
    EXPECT_EQ(qRgb(40, 50, 60), image.pixel(1, 0));

    Octets plain = bmpHeaders(1, 1, 32, 0, 0, 54);
    plain.bytes({1, 2, 3, 0});
    ASSERT_EQ(Ok, decodeBmp(plain.ptr(), plain.size(), image));
    EXPECT_EQ(qRgb(3, 2, 1), image.pixel(0, 0));
}

TEST(Bmp, DecodesBitmapsWithoutFileHeader)
{
    Octets o = bmpHeaders(2, 1, 4, 0, 2, 0);
    o.data.remove(0, 14);
    o.bytes({0, 0, 0, 0, 255, 255, 255, 0});
    o.bytes({0x10, 0, 0, 0});
    QImage image;
    ASSERT_EQ(Ok, decodeDib(o.ptr(), o.size(), image));
    EXPECT_EQ(2, image.colorCount());
    EXPECT_EQ(qRgb(255, 255, 255), image.pixel(0, 0));
    EXPECT_EQ(qRgb(0, 0, 0), image.pixel(1, 0));

    // A colour table beside true-colour pixels is skipped.
    Octets rgb = bmpHeaders(1, 1, 24, 0, 2, 0);
    rgb.data.remove(0, 14);
    rgb.repeat(0x55, 8).bytes({1, 2, 3, 0});
    ASSERT_EQ(Ok, decodeDib(rgb.ptr(), rgb.size(), image));
    EXPECT_EQ(qRgb(3, 2, 1), image.pixel(0, 0));
}

TEST(Bmp, WidensShortColourTablesToTheIndicesUsed)
{
    Octets plain = bmpHeaders(3, 1, 8, 0, 2, 54 + 8);
    addGreyTable(plain, 2);
    plain.bytes({1, 5, 0, 0});
    QImage image;
    ASSERT_EQ(Ok, decodeBmp(plain.ptr(), plain.size(), image));
    EXPECT_EQ(6, image.colorCount());
    EXPECT_EQ(qRgb(10, 10, 10), image.pixel(0, 0));
    EXPECT_EQ(qRgb(0, 0, 0), image.pixel(1, 0));

    Octets rle = bmpHeaders(4, 1, 4, 2, 3, 54 + 12);
    addGreyTable(rle, 3);
    rle.bytes({1, 0x9F, 2, 0x27, 0, 0, 0, 1});  // the low nibble of a 1-pixel run is not drawn
    ASSERT_EQ(Ok, decodeBmp(rle.ptr(), rle.size(), image));
    EXPECT_EQ(10, image.colorCount());
    EXPECT_EQ(QVector<int>({9, 2, 7, 0}), indicesOf(image, 0));
}

TEST(Bmp, DescribesCraftedFiles)
{
    DossierTemporaire dir;
    struct Case {
        Octets file;
        int bits, colours;
        const char *compression;
    };
    Octets rle8 = bmpHeaders(6, 4, 8, 1, 8, 54 + 32, 3780);
    Octets rle4 = bmpHeaders(5, 2, 4, 2, 0, 54 + 64);
    Octets fields = bmpHeaders(4, 1, 16, 3, 0, 54 + 12);
    fields.u32(0xF800).u32(0x07E0).u32(0x001F);
    Octets core;
    core.bytes({'B', 'M'}).u32(0).u32(0).u32(0).u32(12).u16(3).u16(2).u16(1).u16(8);
    const Case cases[] = {{rle8, 8, 8, "RLE8"}, {rle4, 4, 16, "RLE4"},
                          {fields, 16, 65536, "Bitfields"}, {core, 8, 256, "None"},
                          {bmpHeaders(4, -3, 32, 0, 0, 54), 32, 16777216, "None"}};
    for (const Case &c : cases) {
        saveFile(dir.chemin("f.bmp"), c.file.data);
        FileInfo info;
        ASSERT_EQ(Ok, bmpInfo(dir.chemin("f.bmp"), info)) << c.compression;
        EXPECT_EQ(c.bits, info.bitsPerPixel);
        EXPECT_EQ(c.colours, info.colors);
        EXPECT_EQ(QString::fromLatin1(c.compression), info.compression);
    }
    FileInfo info;
    saveFile(dir.chemin("f.bmp"), rle8.data);
    ASSERT_EQ(Ok, bmpInfo(dir.chemin("f.bmp"), info));
    EXPECT_EQ(6, info.width);
    EXPECT_EQ(4, info.height);
    EXPECT_EQ(96, info.density);
    saveFile(dir.chemin("f.bmp"), bmpHeaders(4, -3, 32, 0, 0, 54).data);
    ASSERT_EQ(Ok, bmpInfo(dir.chemin("f.bmp"), info));
    EXPECT_EQ(3, info.height);
    EXPECT_EQ(0, info.density);
    EXPECT_EQ(FileNotFound, bmpInfo(dir.chemin("absent.bmp"), info));
}

TEST(Bmp, RefusesEveryTruncation)
{
    Octets o = bmpHeaders(4, 3, 24, 0, 0, 54);  // rows of 12 bytes: no padding
    for (int i = 0; i < 36; ++i)
        o.u8(i);
    QImage image;
    ASSERT_EQ(Ok, decodeBmp(o.ptr(), o.size(), image));
    for (qint64 n = 0; n < o.size(); ++n) {
        EXPECT_GE(0, decodeBmp(o.ptr(), n, image)) << n;
        EXPECT_TRUE(image.isNull());
    }
    Octets rle = bmpHeaders(4, 2, 8, 1, 2, 54 + 8);
    addGreyTable(rle, 2);
    rle.bytes({4, 1, 0, 0, 4, 0, 0, 1});
    ASSERT_EQ(Ok, decodeBmp(rle.ptr(), rle.size(), image));
    for (qint64 n = 0; n < rle.size() - 2; ++n)
        EXPECT_GE(0, decodeBmp(rle.ptr(), n, image)) << n;
}

TEST(Bmp, RefusesAbsurdHeaders)
{
    QImage image;
    auto status = [&image](const Octets &o) { return decodeBmp(o.ptr(), o.size(), image); };
    Octets huge = bmpHeaders(100000, 100000, 24, 0, 0, 54);
    huge.repeat(0, 100);
    EXPECT_EQ(TooLarge, status(huge));
    EXPECT_EQ(BadFormat, status(bmpHeaders(0, 10, 24, 0, 0, 54).repeat(0, 64)));
    EXPECT_EQ(BadFormat, status(bmpHeaders(10, 0, 24, 0, 0, 54).repeat(0, 64)));
    EXPECT_EQ(BadFormat, status(bmpHeaders(10, int(0x80000000u), 24, 0, 0, 54).repeat(0, 64)));
    EXPECT_EQ(BadFormat, status(bmpHeaders(2, 2, 8, 0, 1000000, 54).repeat(0, 64)));
    EXPECT_EQ(BadFormat, status(bmpHeaders(2, 2, 7, 0, 0, 54).repeat(0, 64)));
    EXPECT_EQ(BadFormat, status(bmpHeaders(2, 2, 4, 1, 0, 54).repeat(0, 64)));
    EXPECT_EQ(Unsupported, status(bmpHeaders(2, 2, 24, 4, 0, 54).repeat(0, 64)));
    // A claimed picture far larger than the data is refused before it is allocated.
    EXPECT_EQ(Truncated, status(bmpHeaders(20000, 4000, 24, 0, 0, 54).repeat(0, 64)));

    Octets header;
    header.bytes({'B', 'M'}).u32(0).u32(0).u32(54).u32(0xFFFFFFFF).repeat(0, 60);
    EXPECT_EQ(BadFormat, status(header));

    // A true-colour bitmap without file header whose table would end past the data.
    Octets dib = bmpHeaders(1, 1, 32, 0, 0x7FFFFFFF, 0);
    dib.data.remove(0, 14);
    dib.repeat(0, 8);
    EXPECT_EQ(Truncated, decodeDib(dib.ptr(), dib.size(), image));
    EXPECT_TRUE(image.isNull());
}

TEST(Bmp, RefusesRunsOutsideThePicture)
{
    QImage image;
    const QList<QList<int>> overruns = {
        {5, 1, 0, 1},                 // run longer than the row
        {0, 6, 1, 2, 3, 4, 5, 6, 0, 1},  // absolute run longer than the row
        {0, 2, 5, 0, 0, 1},           // delta past the right edge
        {0, 2, 0, 3, 0, 1},           // delta past the top
        {0, 0, 0, 0, 1, 1, 0, 1},     // pixels above the last row
    };
    for (const QList<int> &codes : overruns) {
        Octets o = bmpHeaders(4, 2, 8, 1, 2, 54 + 8);
        addGreyTable(o, 2);
        for (const int c : codes)
            o.u8(c);
        EXPECT_EQ(BadFormat, decodeBmp(o.ptr(), o.size(), image)) << codes.size();
        EXPECT_TRUE(image.isNull());
    }
}

TEST(Bmp, SurvivesGarbledAndMislabelledFiles)
{
    DossierTemporaire dir;
    QImage image;
    EXPECT_EQ(BadFormat, decodeBmp(nullptr, 0, image));
    saveFile(dir.chemin("empty.bmp"), {});
    EXPECT_EQ(BadFormat, readBmp(dir.chemin("empty.bmp"), 24, false, image, {}));

    QBuffer png;
    png.open(QIODevice::WriteOnly);
    samplePicture(24).save(&png, "PNG");
    saveFile(dir.chemin("png.bmp"), png.data());
    EXPECT_EQ(BadFormat, readBmp(dir.chemin("png.bmp"), 24, false, image, {}));
    EXPECT_TRUE(image.isNull());
    EXPECT_EQ(FileNotFound, readBmp(dir.chemin("none.bmp"), 24, false, image, {}));
    EXPECT_EQ(BadDepth, readBmp(dir.chemin("png.bmp"), 16, false, image, {}));

    // Random damage to real variants: any status, but a whole picture on success.
    Octets rle = bmpHeaders(6, 4, 8, 1, 8, 54 + 32);
    addGreyTable(rle, 8);
    rle.bytes({3, 1, 0, 3, 2, 3, 4, 0, 0, 0, 2, 5, 0, 2, 2, 1, 2, 6, 0, 0, 1, 7, 0, 1});
    Octets fields = bmpHeaders(4, 2, 16, 3, 0, 54 + 12);
    fields.u32(0xF800).u32(0x07E0).u32(0x001F).repeat(0x5A, 16);
    QRandomGenerator random(1234);
    for (const Octets &base : {rle, fields}) {
        for (int round = 0; round < 2000; ++round) {
            QByteArray damaged = base.data;
            for (int k = random.bounded(1, 4); k > 0; --k)
                damaged[random.bounded(int(damaged.size()))] = char(random.bounded(256));
            const int s = decodeBmp(reinterpret_cast<const uchar *>(damaged.constData()),
                                    damaged.size(), image);
            if (s > 0)
                EXPECT_FALSE(image.isNull());
            else
                EXPECT_TRUE(image.isNull());
        }
    }
}

TEST(Bmp, StopFromProgressLeavesNoFile)
{
    DossierTemporaire dir;
    const QImage picture = samplePicture(24);
    QList<int> seen;
    const Progress stopHalfway = [&seen](int percent) {
        seen.append(percent);
        return percent < 50 ? 1 : 0;
    };
    EXPECT_EQ(Stopped, writeBmp(dir.chemin("s.bmp"), 24, picture, stopHalfway));
    EXPECT_TRUE(QDir(dir.chemin()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_GE(seen.last(), 50);

    ASSERT_EQ(Ok, writeBmp(dir.chemin("s.bmp"), 24, picture, {}));
    QImage image;
    EXPECT_EQ(Stopped, readBmp(dir.chemin("s.bmp"), 24, false, image, [](int p) { return p < 30; }));
    EXPECT_TRUE(image.isNull());
    seen.clear();
    EXPECT_EQ(Ok, readBmp(dir.chemin("s.bmp"), 24, false, image, [&seen](int p) {
        seen.append(p);
        return 1;
    }));
    EXPECT_EQ(100, seen.last());
}
