// Where the image control draws its picture, and the copy it keeps for painting.
#include "fitting.h"
#include "reduction.h"

#include <gtest/gtest.h>

TEST(Fitting, RoundsHalvesToEven)
{
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(2.4999), 2);
    EXPECT_EQ(RoundHalfEven(2.5001), 3);
    EXPECT_EQ(RoundHalfEven(-0.2), 0);
}

TEST(Fitting, RatioFitsTheLongerSide)
{
    // Wider than high: full width, centred vertically.
    EXPECT_EQ(RatioRect({200, 200}, {400, 300}), QRect(0, 25, 200, 150));
    // Higher than wide: full height, centred horizontally.
    EXPECT_EQ(RatioRect({300, 200}, {300, 400}), QRect(75, 0, 150, 200));
    // A square picture fills the height, even in a tall client.
    EXPECT_EQ(RatioRect({100, 300}, {50, 50}), QRect(-100, 0, 300, 300));
    // Enlarging works the same way.
    EXPECT_EQ(RatioRect({400, 400}, {20, 10}), QRect(0, 100, 400, 200));
}

TEST(Fitting, RatioRoundsHalfPixelsToEven)
{
    // 3x1 in 5x5: drawn 5 wide and 5/3 high at (5 - 1.667) / 2 = 1.667: rounded 2 and 2.
    EXPECT_EQ(RatioRect({5, 5}, {3, 1}), QRect(0, 2, 5, 2));
    // 2x4 in 3x2: drawn 1 wide at (3 - 1) / 2 = 1.
    EXPECT_EQ(RatioRect({3, 2}, {2, 4}), QRect(1, 0, 1, 2));
    // 4x5 in 5x2: 1.6 wide at 1.7, rounded to 2 wide at 2.
    EXPECT_EQ(RatioRect({5, 2}, {4, 5}), QRect(2, 0, 2, 2));
    // 2x4 in 2x3: 1.5 wide at 0.25: a half rounds to the even 2; the left to 0.
    EXPECT_EQ(RatioRect({2, 3}, {2, 4}), QRect(0, 0, 2, 3));
    // 1x2 in 2x1: 0.5 wide at 0.75: a half rounds to 0.
    EXPECT_EQ(RatioRect({2, 1}, {1, 2}), QRect(1, 0, 0, 1));
}

TEST(Fitting, RatioWithAZeroDimensionTakesTheWholeClient)
{
    EXPECT_EQ(RatioRect({120, 80}, {0, 50}), QRect(0, 0, 120, 80));
    EXPECT_EQ(RatioRect({120, 80}, {50, 0}), QRect(0, 0, 120, 80));
    EXPECT_EQ(RatioRect({120, 80}, {0, 0}), QRect(0, 0, 120, 80));
}

TEST(Fitting, LibraryPathPlacesByMode)
{
    const QSize client(100, 80), picture(30, 20);
    EXPECT_EQ(LibraryDestination(client, picture, {}), QRect(0, 0, 30, 20));
    EXPECT_EQ(LibraryDestination(client, picture, {.center = true}), QRect(35, 30, 30, 20));
    EXPECT_EQ(LibraryDestination(client, picture, {.stretch = true, .center = true}),
              QRect(0, 0, 100, 80));
    EXPECT_EQ(LibraryDestination(client, picture, {.stretchRatio = true, .center = true}),
              QRect(0, 7, 100, 67));
}

TEST(Fitting, CentringTruncatesTowardZero)
{
    // Odd differences: 101 - 30 = 71 gives 35; a larger picture gets a negative offset
    // truncated toward zero: (100 - 131) / 2 = -15, not -16.
    EXPECT_EQ(LibraryDestination({101, 81}, {30, 20}, {.center = true}).topLeft(), QPoint(35, 30));
    EXPECT_EQ(LibraryDestination({100, 80}, {131, 95}, {.center = true}).topLeft(), QPoint(-15, -7));
}

TEST(Fitting, PlainPathIgnoresProportionsAndCentresOnTheControl)
{
    const QSize client(98, 78), control(100, 80), picture(30, 20);
    EXPECT_EQ(PlainDestination(client, control, picture, {.stretchRatio = true}), QRect(0, 0, 30, 20));
    EXPECT_EQ(PlainDestination(client, control, picture, {.center = true}), QRect(35, 30, 30, 20));
    EXPECT_EQ(PlainDestination(client, control, picture, {.stretch = true}), QRect(0, 0, 98, 78));
}

namespace {

QImage Lines(int width, int height)
{
    QImage image(width, height, QImage::Format_Mono);
    image.setColor(0, qRgb(255, 255, 255));
    image.setColor(1, qRgb(0, 0, 0));
    image.fill(0);
    for (int y = 0; y < height; ++y)
        image.setPixel(5, y, 1);  // one black column
    return image;
}

}  // namespace

TEST(Fitting, BlackOnWhiteKeepsThinLinesThatColourOnColourDrops)
{
    const QImage source = Lines(40, 10);
    const QImage kept = StretchImage(source, {10, 10}, StretchMode::BlackOnWhite);
    const QImage dropped = StretchImage(source, {10, 10}, StretchMode::ColorOnColor);
    EXPECT_EQ(kept.pixel(1, 3), qRgb(0, 0, 0));  // source columns 4..7 hold the line
    int black = 0;
    for (int x = 0; x < 10; ++x)
        black += dropped.pixel(x, 3) == qRgb(0, 0, 0);
    EXPECT_EQ(black, 0);
    EXPECT_EQ(kept.pixel(0, 3), qRgb(255, 255, 255));
    // Enlarging repeats pixels in both modes.
    EXPECT_EQ(StretchImage(source, {80, 20}, StretchMode::BlackOnWhite).pixel(11, 0), qRgb(0, 0, 0));
}

TEST(Fitting, CacheScalesOncePerPictureSizeAndMode)
{
    ScaledPictureCache cache;
    QImage photo(400, 300, QImage::Format_RGB888);
    photo.fill(Qt::red);
    const QImage &first = cache.prepared(photo, {200, 150}, StretchMode::ColorOnColor);
    EXPECT_EQ(first.size(), QSize(200, 150));
    EXPECT_EQ(first.format(), QImage::Format_RGB32);
    const qint64 key = first.cacheKey();
    EXPECT_EQ(cache.prepared(photo, {200, 150}, StretchMode::ColorOnColor).cacheKey(), key);
    EXPECT_EQ(cache.preparations(), 1);

    cache.prepared(photo, {100, 75}, StretchMode::ColorOnColor);
    EXPECT_EQ(cache.preparations(), 2);
    cache.prepared(photo, {100, 75}, StretchMode::BlackOnWhite);
    EXPECT_EQ(cache.preparations(), 3);
    photo.setPixel(0, 0, qRgb(1, 2, 3));  // a changed picture is prepared again
    cache.prepared(photo, {100, 75}, StretchMode::BlackOnWhite);
    EXPECT_EQ(cache.preparations(), 4);

    // At its own size the picture itself is drawn: no copy.
    EXPECT_EQ(cache.prepared(photo, {400, 300}, StretchMode::ColorOnColor).cacheKey(), photo.cacheKey());
    EXPECT_EQ(cache.preparations(), 4);
}

TEST(Fitting, JpegDecodedNoLargerThanItsThumbnailNeeds)
{
    struct Case {
        QSize image;
        int scale;
    };
    // Fitted into 145 x 110: 4000 x 3000 and 1200 x 900 shrink to 144 x 108.
    for (const Case c : {Case{{4000, 3000}, 8}, Case{{1200, 900}, 8}, Case{{1100, 825}, 4},
                         Case{{300, 225}, 2}, Case{{200, 150}, 1}, Case{{100, 80}, 1}, Case{{0, 0}, 1}})
        EXPECT_EQ(echelle_de_decodage(c.image, {145, 110}), c.scale) << c.image.width();
}

TEST(Fitting, TheShowFitsOnlyAPictureLargerThanTheScreen)
{
    struct Case {
        QSize image;
        QSize drawn;
        int scale;  // of a JPEG decoding that still covers the drawn size
    };
    for (const Case c : {Case{{4000, 3000}, {1280, 960}, 2}, Case{{3000, 4000}, {768, 1024}, 2},
                         Case{{10240, 8192}, {1280, 1024}, 8}, Case{{1281, 1024}, {1280, 1023}, 1},
                         Case{{640, 480}, {640, 480}, 1}, Case{{1280, 1024}, {1280, 1024}, 1},
                         Case{{20000, 10}, {1280, 1}, 8}}) {
        EXPECT_EQ(taille_a_l_ecran(c.image, {1280, 1024}), c.drawn) << c.image.width();
        EXPECT_EQ(echelle_couvrant(c.image, c.drawn), c.scale) << c.image.width();
    }
    // Smoothed, not a pick of every n-th pixel: fine stripes become their mean.
    QImage rayee(4000, 3000, QImage::Format_Indexed8);
    rayee.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < rayee.height(); ++y)
        for (int x = 0; x < rayee.width(); ++x)
            rayee.setPixel(x, y, uint(x % 2));
    const QImage vue = image_pour_ecran(rayee, {1280, 1024});
    EXPECT_EQ(vue.size(), QSize(1280, 960));
    EXPECT_EQ(vue.format(), QImage::Format_RGB32);
    int somme = 0;
    for (int x = 600; x < 610; ++x) {
        EXPECT_GT(qGray(vue.pixel(x, 480)), 40) << x;
        EXPECT_LT(qGray(vue.pixel(x, 480)), 215) << x;
        somme += qGray(vue.pixel(x, 480));
    }
    EXPECT_NEAR(somme / 10, 128, 12);
    QImage petite(640, 480, QImage::Format_RGB32);
    EXPECT_EQ(image_pour_ecran(petite, {1280, 1024}).cacheKey(), petite.cacheKey());
}

// A reduction by a factor that is not whole weighs each source pixel by how much
// of it a reduced pixel covers: counted by hand on small pictures.
TEST(Fitting, AReducedPixelIsTheMeanOfTheAreaItCovers)
{
    struct Case {
        const char *name;
        QSize source;
        std::vector<int> levels;  // grey, row by row
        QSize reduced;
        std::vector<int> expected;
    };
    const Case cases[] = {
        // Pixel 0 takes source 0 and half of 1; pixel 1 the other half and 2.
        {"a row by 1.5", {3, 1}, {0, 90, 180}, {2, 1}, {30, 150}},
        {"a column by 1.5", {1, 3}, {0, 90, 180}, {1, 2}, {30, 150}},
        // Both ways: a reduced pixel covers 1 + 0.5 + 0.5 + 0.25 source pixels; (1, 0) is (90 + 90 / 2) / 2.25.
        {"a square by 1.5", {3, 3}, {0, 0, 90, 0, 0, 90, 90, 90, 180}, {2, 2}, {0, 60, 60, 120}},
        // Three of five, two of five: 255 * 2 / 5 = 102.
        {"a row by 2.5", {5, 1}, {255, 255, 0, 0, 0}, {2, 1}, {204, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage source(c.source, QImage::Format_RGB888);
        for (int y = 0; y < c.source.height(); ++y)
            for (int x = 0; x < c.source.width(); ++x) {
                const int v = c.levels[size_t(y * c.source.width() + x)];
                source.setPixel(x, y, qRgb(v, v, 255 - v));
            }
        const QImage reduced = image_pour_ecran(source, c.reduced);
        ASSERT_EQ(reduced.size(), c.reduced);
        for (int y = 0; y < c.reduced.height(); ++y)
            for (int x = 0; x < c.reduced.width(); ++x) {
                const int v = c.expected[size_t(y * c.reduced.width() + x)];
                EXPECT_EQ(reduced.pixel(x, y), qRgb(v, v, 255 - v)) << x << ", " << y;
            }
    }
}
