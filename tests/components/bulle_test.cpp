#include "bulle.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QRect ECRAN(0, 0, 1024, 768);
const QSize TEXTE(100, 20);  // balloons of 116 x 40 (Up) and 116 x 49 (Down)

struct CasPlacement {
    const char *nom;
    QSize texte;
    QPoint souris;
    THintDirection depart;
    THintDirection attendue;
    QRect rectangle;
};

class Placement : public ::testing::TestWithParam<CasPlacement> {};

TEST_P(Placement, ChangeDeCoteOuDeHauteurAuBordDeLEcran)
{
    const CasPlacement &c = GetParam();
    const PlacementBulle place = place_bulle(c.texte, c.souris, ECRAN, c.depart);
    EXPECT_EQ(place.direction, c.attendue);
    EXPECT_EQ(place.rectangle, c.rectangle);
}

INSTANTIATE_TEST_SUITE_P(
    Bulle, Placement,
    ::testing::Values(
        CasPlacement{"au_milieu", TEXTE, {500, 400}, hdUpRight, hdUpRight, {500, 355, 116, 40}},
        CasPlacement{"bord_droit", TEXTE, {1000, 400}, hdUpRight, hdUpLeft, {890, 355, 116, 40}},
        CasPlacement{"bord_haut", TEXTE, {500, 20}, hdUpRight, hdDownRight, {500, 35, 116, 49}},
        CasPlacement{"coin_haut_droit", TEXTE, {1000, 20}, hdUpRight, hdDownLeft, {890, 35, 116, 49}},
        CasPlacement{"gauche_en_haut", TEXTE, {50, 400}, hdUpLeft, hdUpRight, {50, 355, 116, 40}},
        CasPlacement{"bord_bas", TEXTE, {500, 750}, hdDownRight, hdUpRight, {500, 705, 116, 40}},
        CasPlacement{"bord_gauche", TEXTE, {50, 400}, hdDownLeft, hdDownRight, {50, 415, 116, 49}},
        CasPlacement{"bas_a_gauche", TEXTE, {500, 750}, hdDownLeft, hdUpLeft, {390, 705, 116, 40}},
        // Larger than the screen: each direction once, the last one tried is kept.
        CasPlacement{"trop_large", {2000, 20}, {500, 400}, hdUpRight, hdUpLeft, {-1510, 355, 2016, 40}},
        CasPlacement{"trop_haute", {100, 1000}, {500, 400}, hdUpRight, hdDownRight, {500, 415, 116, 1029}},
        CasPlacement{"trop_grande", {2000, 1000}, {500, 400}, hdDownLeft, hdDownRight,
                     {500, 415, 2016, 1029}}),
    [](const auto &info) { return std::string(info.param.nom); });

TEST(Bulle, UneBulleVersLeBasEstPlusHauteDeNeufPixels)
{
    const QSize texte = taille_texte_bulle(QStringLiteral("Ouvrir ou créer un diaporama"),
                                           QFont(QStringLiteral("Arial"), 10), 1000);
    EXPECT_EQ(taille_bulle(texte, hdDownRight).height() - taille_bulle(texte, hdUpRight).height(), 9);
    EXPECT_EQ(taille_bulle(texte, hdDownLeft).width(), taille_bulle(texte, hdUpLeft).width());
}

TEST(Bulle, UnTexteLongPasseALaLigne)
{
    const QFont police(QStringLiteral("Arial"), 10);
    const QString texte = QStringLiteral("Cliquez pour accèder au options d'affichage de ce commentaire");
    const QSize une_ligne = taille_texte_bulle(texte, police, 2000);
    const QSize etroit = taille_texte_bulle(texte, police, 150);
    EXPECT_LE(etroit.width(), 150 + 6);
    EXPECT_GT(etroit.height(), une_ligne.height());
}

// The balloon drawn over a white screen copy.
class DessinBulle : public ::testing::Test {
protected:
    const QColor jaune{255, 255, 0};
    const QColor violet{128, 0, 128};
    const QColor bleu{0, 0, 255};

    QImage dessine(THintDirection direction, const QString &texte = {})
    {
        QImage image(120, 60, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QFont police(QStringLiteral("Arial"));
        police.setPixelSize(14);
        dessine_bulle(image, direction, texte, {jaune, violet, police, bleu});
        return image;
    }

    static QColor pixel(const QImage &image, int x, int y) { return image.pixelColor(x, y); }
};

TEST_F(DessinBulle, PointeEtOmbresDUneBulleVersLeHaut)
{
    const QImage image = dessine(hdUpRight);
    const int W = image.width(), H = image.height();
    EXPECT_EQ(pixel(image, 7, H - 8), jaune) << "inside the pointer, near its tip";
    EXPECT_EQ(pixel(image, 30, 20), jaune) << "inside the box";
    EXPECT_EQ(pixel(image, 0, 20), Qt::black) << "the box's outline";
    EXPECT_EQ(pixel(image, 15, H - 15), jaune) << "the outline is open above the pointer";
    // The shadow strips: a checkerboard right of the box and below it.
    EXPECT_EQ(pixel(image, W - 3, 21), violet);
    EXPECT_EQ(pixel(image, W - 3, 20), Qt::white);
    EXPECT_EQ(pixel(image, 50, H - 12), violet);
    EXPECT_EQ(pixel(image, 51, H - 12), Qt::white);
    EXPECT_EQ(pixel(image, W - 3, 4), Qt::white) << "above the shadow region";
    EXPECT_EQ(pixel(image, 50, H - 5), Qt::white) << "below the shadow region";
    EXPECT_EQ(pixel(image, 14, H - 6), violet) << "the pointer's shadow";
}

TEST_F(DessinBulle, UneBulleVersLeBasASaPointeEnHautEtPasDOmbreDePointe)
{
    const QImage image = dessine(hdDownLeft);
    const int W = image.width(), H = image.height();
    EXPECT_EQ(pixel(image, W - 13, 7), jaune) << "inside the pointer, near its tip";
    EXPECT_EQ(pixel(image, 30, 10), Qt::white) << "above the box";
    EXPECT_EQ(pixel(image, 30, 30), jaune);
    EXPECT_EQ(pixel(image, W - 3, 31), violet);
    EXPECT_EQ(pixel(image, 50, H - 4), violet);
    for (const THintDirection bas : {hdDownLeft, hdDownRight}) {
        const QImage sans = dessine(bas);
        for (int x = 0; x < W; ++x)
            EXPECT_NE(pixel(sans, x, H - 2), violet) << "no pointer shadow at the bottom";
    }
}

TEST_F(DessinBulle, LeTexteEstDansLaBoite)
{
    const QImage image = dessine(hdDownRight, QStringLiteral("Hint"));
    const int H = image.height();
    int bleus = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = pixel(image, x, y);
            if (c.blue() > 200 && c.red() < 60 && c.green() < 60) {
                ++bleus;
                EXPECT_GE(x, 8);
                EXPECT_GE(y, 18);
                EXPECT_LT(y, H - 8);
            }
        }
    EXPECT_GT(bleus, 10);
}

}  // namespace
