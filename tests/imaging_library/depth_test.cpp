// Colour depth conversions: formats, palettes, exact colours, dithering, and
// the row helpers the writers share.
#include "codecs.h"
#include "pictures.h"
#include "sky.h"

#include <gtest/gtest.h>

using namespace sky;

namespace {

struct DepthCase {
    int bits;
    bool dither;
};

class Depths : public ::testing::TestWithParam<DepthCase> {};

int maxColours(int bits) { return bits == 1 ? 2 : bits == 8 ? 256 : 16; }

double whiteShare(const QImage &mono)
{
    qint64 white = 0;
    for (int y = 0; y < mono.height(); ++y)
        for (int x = 0; x < mono.width(); ++x)
            white += qGray(mono.pixel(x, y)) > 128;
    return double(white) / (qint64(mono.width()) * mono.height());
}

}  // namespace

TEST_P(Depths, PhotoComesOutInTheAskedFormatAndPalette)
{
    const auto [bits, dither] = GetParam();
    QImage photo = photoPicture(120, 90);
    photo.setDotsPerMeterX(5906);  // 150 dpi
    photo.setDotsPerMeterY(5906);
    QImage out;
    ASSERT_EQ(Ok, toDepth(photo, bits, dither, out));
    ASSERT_EQ(photo.size(), out.size());
    EXPECT_EQ(5906, out.dotsPerMeterX());
    if (bits == 24) {
        EXPECT_EQ(QImage::Format_RGB888, out.format());
        EXPECT_TRUE(sameColours(photo, out));
        return;
    }
    EXPECT_EQ(bits == 1 ? QImage::Format_Mono : QImage::Format_Indexed8, out.format());
    EXPECT_LE(out.colorCount(), maxColours(bits));
    if (bits == 0) {
        EXPECT_EQ(vgaPalette(), out.colorTable());
    }
    if (bits == 1) {
        EXPECT_EQ(QList<QRgb>({qRgb(0, 0, 0), qRgb(255, 255, 255)}), out.colorTable());
    }
    // A palette made for the picture stays close to it, far closer than the
    // fixed VGA colours. (Dithering trades closeness for tones.)
    QImage vga;
    ASSERT_EQ(Ok, toDepth(photo, 0, dither, vga));
    if (bits == 8) {
        EXPECT_GT(psnr(photo, out), dither ? 29 : 31);
    }
    if (bits == 4) {
        EXPECT_GT(psnr(photo, out), psnr(photo, vga) + 4);
    }
}

INSTANTIATE_TEST_SUITE_P(AllDepths, Depths,
                         ::testing::Values(DepthCase{24, false}, DepthCase{8, false},
                                           DepthCase{8, true}, DepthCase{4, false},
                                           DepthCase{4, true}, DepthCase{0, false},
                                           DepthCase{0, true}, DepthCase{1, false},
                                           DepthCase{1, true}));

TEST(Depth, PicturesWithFewColoursKeepThemExactly)
{
    // From true colour and from indexed pictures, with 200 and with 12 colours.
    for (const int colours : {200, 12}) {
        SCOPED_TRACE(colours);
        const QImage indexed = indexedPicture(70, 40, colours);
        const QImage rgb = indexed.convertToFormat(QImage::Format_RGB888);
        for (const QImage &source : {indexed, rgb}) {
            QImage out;
            ASSERT_EQ(Ok, toDepth(source, 8, true, out));
            EXPECT_EQ(colours, out.colorCount());
            EXPECT_TRUE(sameColours(source, out));
        }
        QImage sixteen;
        ASSERT_EQ(Ok, toDepth(rgb, 4, true, sixteen));
        EXPECT_EQ(colours <= 16, sameColours(rgb, sixteen));
        EXPECT_LE(sixteen.colorCount(), 16);
    }
}

TEST(Depth, EveryPictureFormatReadsAsTheSameColours)
{
    const QImage rgb = indexedPicture(33, 17, 9).convertToFormat(QImage::Format_RGB888);
    for (const QImage::Format format :
         {QImage::Format_Indexed8, QImage::Format_RGB32, QImage::Format_ARGB32,
          QImage::Format_RGB16, QImage::Format_RGBX8888}) {
        SCOPED_TRACE(int(format));
        QImage out;
        ASSERT_EQ(Ok, toDepth(rgb.convertToFormat(format), 24, false, out));
        EXPECT_EQ(QImage::Format_RGB888, out.format());
        if (format != QImage::Format_RGB16) {  // 16 bits lose the low bits
            EXPECT_TRUE(sameColours(rgb, out));
        }
    }
    QImage grey(20, 10, QImage::Format_Grayscale8);
    grey.fill(77);
    QImage out;
    ASSERT_EQ(Ok, toDepth(grey, 8, false, out));
    EXPECT_EQ(QList<QRgb>({qRgb(77, 77, 77)}), out.colorTable());
}

TEST(Depth, BlackAndWhiteThresholdsOrDithersByLightness)
{
    QImage grey(64, 64, QImage::Format_RGB888);
    grey.fill(QColor(96, 96, 96));
    QImage flat, dithered;
    ASSERT_EQ(Ok, toDepth(grey, 1, false, flat));
    ASSERT_EQ(Ok, toDepth(grey, 1, true, dithered));
    EXPECT_EQ(0, whiteShare(flat));
    // 96 of 255: dithering keeps the tone with about 38 % white dots.
    EXPECT_NEAR(96.0 / 255, whiteShare(dithered), 0.03);

    QImage light(8, 8, QImage::Format_RGB888);
    light.fill(QColor(200, 210, 190));
    ASSERT_EQ(Ok, toDepth(light, 1, false, flat));
    EXPECT_EQ(1, whiteShare(flat));
}

TEST(Depth, VgaPicksTheNearestStandardColour)
{
    QImage pure(4, 1, QImage::Format_RGB888);
    pure.setPixel(0, 0, qRgb(250, 5, 5));
    pure.setPixel(1, 0, qRgb(0, 0, 120));
    pure.setPixel(2, 0, qRgb(190, 190, 195));
    pure.setPixel(3, 0, qRgb(255, 255, 250));
    QImage out;
    ASSERT_EQ(Ok, toDepth(pure, 0, false, out));
    EXPECT_EQ(qRgb(255, 0, 0), out.pixel(0, 0));
    EXPECT_EQ(qRgb(0, 0, 128), out.pixel(1, 0));
    EXPECT_EQ(qRgb(192, 192, 192), out.pixel(2, 0));
    EXPECT_EQ(qRgb(255, 255, 255), out.pixel(3, 0));

    // Dithered, an orange between red and yellow mixes both.
    QImage orange(32, 32, QImage::Format_RGB888);
    orange.fill(QColor(255, 128, 0));
    ASSERT_EQ(Ok, toDepth(orange, 0, true, out));
    QSet<QRgb> used;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            used.insert(out.pixel(x, y));
    EXPECT_TRUE(used.contains(qRgb(255, 0, 0)));
    EXPECT_TRUE(used.contains(qRgb(255, 255, 0)));
}

TEST(Depth, RefusesUnknownDepthsAndEmptyPictures)
{
    QImage out;
    for (const int bits : {2, 16, 32, -1})
        EXPECT_EQ(BadDepth, toDepth(photoPicture(4, 4), bits, false, out));
    EXPECT_EQ(EmptyPicture, toDepth(QImage(), 8, false, out));
    EXPECT_TRUE(out.isNull());
}

TEST(Depth, PacksIndicesAtOneFourAndEightBits)
{
    QImage indexed(5, 1, QImage::Format_Indexed8);
    indexed.setColorTable(indexedPicture(1, 1, 16).colorTable());
    const int values[] = {1, 0, 15, 7, 9};
    for (int x = 0; x < 5; ++x)
        indexed.setPixel(x, 0, uint(values[x]));
    uchar packed[16] = {};
    packIndices(indexed, 0, 4, packed);
    EXPECT_EQ(0x10, packed[0]);
    EXPECT_EQ(0xF7, packed[1]);
    EXPECT_EQ(0x90, packed[2]);
    packIndices(indexed, 0, 8, packed);
    EXPECT_EQ(15, packed[2]);

    QImage mono(10, 1, QImage::Format_MonoLSB);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(0);
    mono.setPixel(0, 0, 1);
    mono.setPixel(9, 0, 1);
    packIndices(mono, 0, 1, packed);
    EXPECT_EQ(0x80, packed[0]);
    EXPECT_EQ(0x40, packed[1]);
    packIndices(mono.convertToFormat(QImage::Format_Mono), 0, 8, packed);
    EXPECT_EQ(1, packed[0]);
    EXPECT_EQ(0, packed[1]);
    EXPECT_EQ(1, packed[9]);
}
