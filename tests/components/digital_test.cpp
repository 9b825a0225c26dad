#include "digital.h"
#include "ecran.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(HorlogeDigitale, LHeureSuitLeFormatLongSansFuseau)
{
    const QTime heure(15, 40, 12);
    const struct {
        QLocale::Language langue;
        QLocale::Territory pays;
        const char *attendu;
    } cas[] = {
        {QLocale::French, QLocale::France, "15:40:12"},
        {QLocale::German, QLocale::Germany, "15:40:12"},
        {QLocale::English, QLocale::UnitedStates, "3:40:12 PM"},
        {QLocale::C, QLocale::AnyTerritory, "15:40:12"},
    };
    for (const auto &c : cas)
        EXPECT_EQ(heure_longue(heure, QLocale(c.langue, c.pays)), QString::fromUtf8(c.attendu))
            << QLocale(c.langue, c.pays).name().toStdString();
}

TEST(HorlogeDigitale, LaLegendeChangeChaqueSeconde)
{
    THORLOGE_DIGITAL horloge;
    const QString depart = horloge.text();
    ASSERT_FALSE(depart.isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return horloge.text() != depart; }, 2500));
    const QTime maintenant = QTime::currentTime();
    EXPECT_TRUE(horloge.text() == heure_longue(maintenant, QLocale::system()) ||
                horloge.text() == heure_longue(maintenant.addSecs(-1), QLocale::system()))
        << horloge.text().toStdString();
    capture_ecran(&horloge, QStringLiteral("horloge"));
}

}  // namespace
