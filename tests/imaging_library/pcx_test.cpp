// PCX reading, writing and information: round trips, the exact bytes written,
// and variants crafted byte by byte.
#include "pictures.h"
#include "bytes.h"
#include "codecs.h"
#include "ecran.h"
#include "octets.h"
#include "sky.h"

#include <QDir>
#include <QImage>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace sky;

namespace {

Octets pcxHeader(int version, int bitsPerPixel, int planes, int width, int height, int bytesPerLine,
                 int dpi = 0, const QVector<QRgb> &palette = {}, int encoding = 1)
{
    Octets o;
    o.bytes({0x0A, version, encoding, bitsPerPixel}).u16(0).u16(0).u16(width - 1).u16(height - 1);
    o.u16(dpi).u16(dpi);
    for (int i = 0; i < 16; ++i) {
        const QRgb c = i < palette.size() ? palette[i] : 0;
        o.bytes({qRed(c), qGreen(c), qBlue(c)});
    }
    o.u8(0).u8(planes).u16(bytesPerLine).u16(1).repeat(0, 58);
    return o;
}

QVector<QRgb> sixteenColours()
{
    QVector<QRgb> palette;
    for (int i = 0; i < 16; ++i)
        palette.append(qRgb(i * 16, 255 - i * 16, i));
    return palette;
}

QImage stripedPicture(int width, int height, int colours)
{
    QImage image(width, height, QImage::Format_Indexed8);
    QVector<QRgb> palette;
    for (int i = 0; i < colours; ++i)
        palette.append(qRgb(i, (i * 5) & 255, 255 - i));
    image.setColorTable(palette);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, uint((x / 3 + y * 21) % colours));
    return image;
}

// The encoder alone, on a picture already at the file's depth.
QByteArray encoded(const QImage &picture, int bits)
{
    DossierTemporaire dir;
    {
        OutputFile file(dir.chemin("e.pcx"));
        ProgressTracker tracker({}, picture.height());
        if (encodePcx(picture, bits, file, tracker) != Ok || file.commit() != Ok)
            return {};
    }
    return loadFile(dir.chemin("e.pcx"));
}

QByteArray fromBytes(std::initializer_list<int> values)
{
    Octets o;
    o.bytes(values);
    return o.data;
}

}  // namespace

TEST(Pcx, RoundTripsKeepPixelsAndPalette)
{
    DossierTemporaire dir;
    QImage rgb(61, 29, QImage::Format_RGB888);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            rgb.setPixel(x, y, x < 30 ? qRgb(200, 201, 202) : qRgb(x * 4, y * 8, 0xC5));
    QImage mono = stripedPicture(61, 29, 2);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    const QImage pictures[] = {mono.convertToFormat(QImage::Format_Mono),
                               stripedPicture(61, 29, 16), stripedPicture(61, 29, 240), rgb};
    const int depths[] = {1, 4, 8, 24};
    for (int i = 0; i < 4; ++i) {
        const int bits = depths[i];
        SCOPED_TRACE(bits);
        QImage picture = pictures[i];
        picture.setDotsPerMeterX(5906);  // 150 dpi
        const QString path = dir.chemin(QStringLiteral("rt%1.pcx").arg(bits));
        ASSERT_EQ(Ok, writePcx(path, bits, picture, {}));
        QImage back;
        ASSERT_EQ(Ok, readPcx(path, bits, false, back, {}));
        expectSamePixels(picture, back);
        if (bits < 24) {
            EXPECT_EQ(picture.colorCount(), back.colorCount());
        }

        FileInfo info;
        ASSERT_EQ(Ok, pcxInfo(path, info));
        EXPECT_EQ(QStringLiteral("PCX"), info.type);
        EXPECT_EQ(61, info.width);
        EXPECT_EQ(29, info.height);
        EXPECT_EQ(bits, info.bitsPerPixel);
        EXPECT_EQ(150, info.density);
        EXPECT_EQ(bits == 24 ? 16777216 : 1 << bits, info.colors);
        // The narrow stripes at 1 and 4 bits make bytes from 0xC0 up without
        // runs, two bytes each when coded: those files are smaller uncompressed.
        EXPECT_EQ(bits < 8 ? QStringLiteral("None") : QStringLiteral("RLE"), info.compression);
    }
}

TEST(Pcx, GrainIsWrittenUncompressedAndFlatAreasCoded)
{
    QRandomGenerator random(3);
    QImage grain(300, 200, QImage::Format_RGB888), sky(300, 200, QImage::Format_RGB888);
    sky.fill(qRgb(210, 220, 240));
    for (int y = 0; y < grain.height(); ++y)
        for (int x = 0; x < grain.width(); ++x)
            grain.setPixel(x, y, qRgb(random.bounded(256), random.bounded(256), random.bounded(256)));
    for (const auto &[picture, coded] : {std::pair{grain, false}, std::pair{sky, true}}) {
        SCOPED_TRACE(coded);
        const QByteArray file = encoded(picture, 24);
        ASSERT_GT(file.size(), 128);
        EXPECT_EQ(coded ? 1 : 0, file[2]);
        EXPECT_EQ(coded, file.size() < 128 + 300 * 3 * 200);
        QImage back;
        ASSERT_EQ(Ok, decodePcx(reinterpret_cast<const uchar *>(file.constData()), file.size(), back, {}));
        expectSamePixels(picture, back);
    }
}

TEST(Pcx, WritesVersion5RunsPlaneByPlane)
{
    QImage red(3, 1, QImage::Format_RGB888);
    red.fill(qRgb(255, 0, 0));
    red.setDotsPerMeterX(2835);
    red.setDotsPerMeterY(2835);
    const QByteArray file = encoded(red, 24);
    ASSERT_EQ(128 + 7, file.size());
    const auto *h = reinterpret_cast<const uchar *>(file.constData());
    EXPECT_EQ(QByteArray("\x0A\x05\x01\x08", 4), file.left(4));
    EXPECT_EQ(0, le16(h + 4));
    EXPECT_EQ(2, le16(h + 8));    // last column
    EXPECT_EQ(0, le16(h + 10));   // last row
    EXPECT_EQ(72, le16(h + 12));  // dots per inch
    EXPECT_EQ(3, h[65]);          // planes
    EXPECT_EQ(4, le16(h + 66));   // bytes per plane line: even
    // Red plane: a run of three 0xFF and the zero pad byte; green and blue: runs of four zeros.
    EXPECT_EQ(fromBytes({0xC3, 0xFF, 0x00, 0xC4, 0x00, 0xC4, 0x00}), file.mid(128));

    // Runs stop at 63; bytes from 0xC0 up are always coded as runs.
    QImage indexed = stripedPicture(100, 2, 256);
    for (int x = 0; x < 100; ++x) {
        indexed.setPixel(x, 0, 0xC7);
        indexed.setPixel(x, 1, x == 0 ? 0xC8 : x % 2 ? 5 : 6);
    }
    const QByteArray eight = encoded(indexed, 8);
    EXPECT_EQ(fromBytes({0xFF, 0xC7, 0xE5, 0xC7}), eight.mid(128, 4));
    EXPECT_EQ(fromBytes({0xC1, 0xC8, 5, 6, 5}), eight.mid(132, 5));
    // The 256 colours close the file behind their marker.
    EXPECT_EQ(128 + 4 + 101 + 769, eight.size());
    EXPECT_EQ(0x0C, eight.at(eight.size() - 769));
    EXPECT_EQ(fromBytes({3, 15, 252}), eight.mid(eight.size() - 768 + 9, 3));

    // Four planes of one bit, the colours in the header.
    const QImage sixteen = stripedPicture(16, 1, 16);
    const QByteArray four = encoded(sixteen, 4);
    EXPECT_EQ(1, four.at(3));
    EXPECT_EQ(4, four.at(65));
    EXPECT_EQ(2, four.at(66));
    EXPECT_EQ(fromBytes({1, 5, 254}), four.mid(16 + 3, 3));
    // Indices 0 0 0 1 1 1 2 2 2 3 3 3 4 4 4 5: plane 0 holds 000111000111000 1.
    EXPECT_EQ(fromBytes({0x1C, 0x71}), four.mid(128, 2));
}

TEST(Pcx, ReadsFourPlanesWithRunsAcrossPlanesAndLines)
{
    Octets o = pcxHeader(5, 1, 4, 10, 3, 2, 300, sixteenColours());
    o.bytes({0x55, 0x40, 0x33, 0x00, 0x0F, 0x00, 0x00, 0xC1, 0xC0});  // indices 0..9
    o.bytes({0xD0, 0x00});  // a run over the next two lines, all planes
    QImage image;
    ASSERT_EQ(Ok, decodePcx(o.ptr(), o.size(), image));
    ASSERT_EQ(QImage::Format_Indexed8, image.format());
    EXPECT_EQ(16, image.colorCount());
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(x, image.pixelIndex(x, 0));
        EXPECT_EQ(0, image.pixelIndex(x, 2));
    }
    EXPECT_EQ(qRgb(32, 223, 2), image.color(2));
    EXPECT_EQ(300, qRound(image.dotsPerMeterX() * 0.0254));

    // Version 3 carries no palette: the standard EGA colours.
    o.data[1] = 3;
    ASSERT_EQ(Ok, decodePcx(o.ptr(), o.size(), image));
    EXPECT_EQ(qRgb(0, 0, 0xAA), image.color(1));
    EXPECT_EQ(qRgb(0xFF, 0xFF, 0x55), image.color(14));
}

TEST(Pcx, ReadsOneBitAndEightBitsWithOrWithoutEndPalette)
{
    Octets mono = pcxHeader(5, 1, 1, 12, 1, 2);
    mono.bytes({0xC1, 0xF0, 0x0F});
    QImage image;
    ASSERT_EQ(Ok, decodePcx(mono.ptr(), mono.size(), image));
    EXPECT_EQ(2, image.colorCount());
    EXPECT_EQ(qRgb(255, 255, 255), image.pixel(0, 0));
    EXPECT_EQ(qRgb(0, 0, 0), image.pixel(4, 0));
    EXPECT_EQ(qRgb(0, 0, 0), image.pixel(11, 0));  // the bits past the width are not pixels

    Octets eight = pcxHeader(5, 8, 1, 3, 2, 4);
    eight.bytes({1, 2, 3, 0, 0xC4, 0xC9});
    Octets withPalette = eight;
    withPalette.u8(0x0C);
    for (int i = 0; i < 256; ++i)
        withPalette.bytes({i, 0, 255 - i});
    ASSERT_EQ(Ok, decodePcx(withPalette.ptr(), withPalette.size(), image));
    EXPECT_EQ(256, image.colorCount());
    EXPECT_EQ(qRgb(2, 0, 253), image.pixel(1, 0));
    EXPECT_EQ(qRgb(0xC9, 0, 255 - 0xC9), image.pixel(2, 1));

    ASSERT_EQ(Ok, decodePcx(eight.ptr(), eight.size(), image));
    EXPECT_EQ(qRgb(3, 3, 3), image.pixel(2, 0));

    // Pixels running into the end palette are missing pixels.
    Octets cut = pcxHeader(5, 8, 1, 3, 2, 4);
    cut.bytes({1, 2, 3, 0}).u8(0x0C);
    for (int i = 0; i < 256; ++i)
        cut.bytes({i, i, i});
    EXPECT_EQ(Truncated, decodePcx(cut.ptr(), cut.size(), image));
}

TEST(Pcx, ReadsUncodedTrueColour)
{
    Octets o = pcxHeader(5, 8, 3, 2, 1, 2, 0, {}, 0);
    o.bytes({10, 11, 20, 21, 30, 31});
    QImage image;
    ASSERT_EQ(Ok, decodePcx(o.ptr(), o.size(), image));
    EXPECT_EQ(qRgb(10, 20, 30), image.pixel(0, 0));
    EXPECT_EQ(qRgb(11, 21, 31), image.pixel(1, 0));
    DossierTemporaire dir;
    saveFile(dir.chemin("u.pcx"), o.data);
    FileInfo info;
    ASSERT_EQ(Ok, pcxInfo(dir.chemin("u.pcx"), info));
    EXPECT_EQ(QStringLiteral("None"), info.compression);
    EXPECT_EQ(24, info.bitsPerPixel);
    EXPECT_EQ(0, info.density);
}

TEST(Pcx, RefusesTruncatedAbsurdAndMislabelledFiles)
{
    QImage image;
    auto status = [&image](const Octets &o) { return decodePcx(o.ptr(), o.size(), image); };
    Octets whole = pcxHeader(5, 8, 3, 4, 2, 4);
    whole.bytes({1, 2, 3, 4, 0xC4, 9, 0xC8, 7, 0xC4, 8, 5, 6, 7, 8});
    ASSERT_EQ(Ok, status(whole));
    for (qint64 n = 0; n < whole.size(); ++n) {
        EXPECT_GE(0, decodePcx(whole.ptr(), n, image)) << n;
        EXPECT_TRUE(image.isNull());
    }
    EXPECT_EQ(BadFormat, decodePcx(nullptr, 0, image));

    EXPECT_EQ(TooLarge, status(pcxHeader(5, 1, 1, 65536, 65536, 8192).repeat(0, 100)));
    EXPECT_EQ(Truncated, status(pcxHeader(5, 8, 3, 20000, 4000, 20000).repeat(0, 100)));
    Octets inverted = pcxHeader(5, 8, 1, 1, 1, 2);
    inverted.data[4] = 9;  // first column after the last
    EXPECT_EQ(BadFormat, status(inverted.repeat(0, 10)));
    EXPECT_EQ(BadFormat, status(pcxHeader(5, 8, 1, 10, 1, 4).repeat(0, 10)));  // short lines
    EXPECT_EQ(BadFormat, status(pcxHeader(5, 8, 1, 4, 1, 0).repeat(0, 10)));
    EXPECT_EQ(BadFormat, status(pcxHeader(5, 8, 7, 4, 1, 4).repeat(0, 40)));
    EXPECT_EQ(BadFormat, status(pcxHeader(5, 8, 1, 4, 1, 4, 0, {}, 2).repeat(0, 40)));
    EXPECT_EQ(Unsupported, status(pcxHeader(5, 8, 2, 4, 1, 4).repeat(0, 40)));

    DossierTemporaire dir;
    QImage picture(5, 5, QImage::Format_RGB888);
    picture.fill(Qt::blue);
    ASSERT_TRUE(picture.save(dir.chemin("b.pcx"), "BMP"));
    EXPECT_EQ(BadFormat, readPcx(dir.chemin("b.pcx"), 24, false, image, {}));
    FileInfo info;
    EXPECT_EQ(BadFormat, pcxInfo(dir.chemin("b.pcx"), info));
    saveFile(dir.chemin("empty.pcx"), {});
    EXPECT_EQ(BadFormat, readPcx(dir.chemin("empty.pcx"), 24, false, image, {}));

    // Random damage: any status, but a whole picture on success.
    QRandomGenerator random(99);
    Octets planes = pcxHeader(5, 1, 4, 10, 3, 2, 0, sixteenColours());
    planes.bytes({0x55, 0x40, 0x33, 0x00, 0x0F, 0x00, 0x00, 0xC1, 0xC0, 0xD0, 0x00});
    for (const Octets &base : {whole, planes}) {
        for (int round = 0; round < 2000; ++round) {
            QByteArray damaged = base.data;
            for (int k = random.bounded(1, 4); k > 0; --k)
                damaged[random.bounded(int(damaged.size()))] = char(random.bounded(256));
            const int s = decodePcx(reinterpret_cast<const uchar *>(damaged.constData()),
                                    damaged.size(), image);
            EXPECT_EQ(s > 0, !image.isNull());
        }
    }
}

TEST(Pcx, StopFromProgressLeavesNoFile)
{
    DossierTemporaire dir;
    const QImage picture = stripedPicture(40, 40, 200);
    EXPECT_EQ(Stopped, writePcx(dir.chemin("s.pcx"), 8, picture, [](int p) { return p < 40; }));
    EXPECT_TRUE(QDir(dir.chemin()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    ASSERT_EQ(Ok, writePcx(dir.chemin("s.pcx"), 8, picture, {}));
    QImage image;
    EXPECT_EQ(Stopped, readPcx(dir.chemin("s.pcx"), 8, false, image, [](int p) { return p < 60; }));
    EXPECT_TRUE(image.isNull());
}
