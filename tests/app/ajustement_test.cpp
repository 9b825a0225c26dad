#include "ajustement.h"

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

TEST(PlacePhoto, UnCadreMinusculeNeBouclePas)
{
    const PlacementPhoto p = place_photo(640, 480, QSize(10, 10));
    EXPECT_TRUE(p.etire);
    EXPECT_LE(p.rectangle.width(), 1);
}

}  // namespace
