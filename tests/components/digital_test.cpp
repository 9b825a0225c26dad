#include "digital.h"
#include "ecran.h"

#include <QTimer>
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

TEST(HorlogeDigitale, LaLegendeSuitLHorlogeChaqueSeconde)
{
    QTime maintenant(23, 59, 58);
    THORLOGE_DIGITAL horloge(nullptr, [&] { return maintenant; }, QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(horloge.text(), "23:59:58");
    auto *minuterie = horloge.findChild<QTimer *>();
    ASSERT_TRUE(minuterie && minuterie->isActive());
    EXPECT_EQ(minuterie->interval(), 1000);
    maintenant = maintenant.addSecs(2);
    // Its second comes: the caption follows the clock.
    ASSERT_TRUE(QMetaObject::invokeMethod(minuterie, "timeout"));
    EXPECT_EQ(horloge.text(), "00:00:00");
    capture_ecran(&horloge, QStringLiteral("horloge"));
}

}  // namespace
