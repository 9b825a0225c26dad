#include "Logo.h"
#include "Slogo.h"

#include "imagefile.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

QImage image_ressource(const QString &nom)
{
    BitmapObject bitmap;
    EXPECT_TRUE(LoadResourceBitmap({}, nom, nullptr, bitmap)) << nom.toStdString();
    return bitmap.bitmap.convertToFormat(QImage::Format_RGB32);
}

QImage image_montree(const LogoAnime &logo)
{
    return logo.pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

struct CasLogo {
    const char *prefixe;
    int cote;
    std::function<std::unique_ptr<LogoAnime>()> cree;
};

class Logos : public ::testing::TestWithParam<CasLogo> {};

TEST_P(Logos, TreizeImagesDansLOrdreUneParTop)
{
    const CasLogo &c = GetParam();
    const auto logo = c.cree();
    EXPECT_EQ(logo->size(), QSize(c.cote, c.cote));
    const QString prefixe = QString::fromLatin1(c.prefixe);
    EXPECT_EQ(image_montree(*logo), image_ressource(prefixe + QStringLiteral("1")));
    for (int n = 1; n <= 13; ++n) {
        const QImage attendue = image_ressource(prefixe + QString::number(n));
        if (n > 1) {
            ASSERT_NE(attendue, image_ressource(prefixe + QString::number(n - 1)));
        }
        logo->Timer1Timer();
        EXPECT_EQ(image_montree(*logo), attendue) << "tick " << n;
    }
    EXPECT_EQ(logo->compteur(), 0);
    logo->Timer1Timer();
    EXPECT_EQ(image_montree(*logo), image_ressource(prefixe + QStringLiteral("1")));
}

INSTANTIATE_TEST_SUITE_P(
    Animation, Logos,
    ::testing::Values(CasLogo{"l", 100, [] { return std::make_unique<TLOGO>(); }},
                      CasLogo{"sl", 19, [] { return std::make_unique<TSLOGO>(); }}),
    [](const auto &info) { return std::string(info.param.prefixe); });

TEST(Logo, ArreteAussitotDemarreIlGardeSonImage)
{
    TLOGO logo;
    for (int i = 0; i < 4; ++i)
        logo.Timer1Timer();
    const QImage avant = image_montree(logo);
    logo.start();
    logo.stop();
    QTest::qWait(250);
    EXPECT_EQ(logo.compteur(), 4);
    EXPECT_EQ(image_montree(logo), avant);

    logo.start();
    QTest::qWait(350);
    logo.stop();
    EXPECT_GT(logo.compteur(), 4) << "started, it ticks every 100 ms";
}

}  // namespace
