#include "ajustement.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

const QSize cadre(420, 360);  // an area of 400 x 300 for the picture

TEST(PlacePhoto, UneGrandeImagePerdToujoursUnPixelPuisTient)
{
    const PlacementPhoto p = place_photo(1600, 1200, cadre);
    EXPECT_TRUE(p.etire);
    EXPECT_EQ(p.rectangle, QRect(12, 17, 399, 299));
}

TEST(PlacePhoto, UnePetiteImageGardeSaTailleEtEstCentree)
{
    const PlacementPhoto p = place_photo(200, 100, cadre);
    EXPECT_FALSE(p.etire);
    EXPECT_EQ(p.rectangle, QRect(112, 117, 200, 100));
}

TEST(PlacePhoto, UneImageCarreeOuEnHauteurSuitLaHauteur)
{
    const PlacementPhoto carre = place_photo(1000, 1000, cadre);
    EXPECT_TRUE(carre.etire);
    EXPECT_EQ(carre.rectangle.size(), QSize(299, 299));
    const PlacementPhoto haute = place_photo(300, 1200, cadre);
    EXPECT_EQ(haute.rectangle.size(), QSize(74, 299));
    // Too wide for the area even at the full height: the height keeps shrinking.
    const PlacementPhoto large = place_photo(1200, 1100, QSize(220, 360));
    EXPECT_LE(large.rectangle.width(), 200);
    EXPECT_LE(large.rectangle.height(), 300);
}

TEST(PlacePhoto, UnCadrePlusPetitQueSesMargesDonneUnPixelEtNonUnRectangleNegatif)
{
    for (const QSize cadre : {QSize(10, 10), QSize(0, 0), QSize(21, 61), QSize(400, 5)}) {
        for (const QSize image : {QSize(640, 480), QSize(480, 640)}) {
            const PlacementPhoto p = place_photo(image.width(), image.height(), cadre);
            EXPECT_TRUE(p.etire);
            EXPECT_GE(p.rectangle.width(), 1) << cadre.width() << "x" << cadre.height();
            EXPECT_GE(p.rectangle.height(), 1) << cadre.width() << "x" << cadre.height();
            EXPECT_LE(p.rectangle.width(), std::max(1, cadre.width() - 21));
            EXPECT_LE(p.rectangle.height(), std::max(1, cadre.height() - 61));
        }
    }
}

}  // namespace
