// The splash window is on the real screen while the program builds its windows
// without handling events: under a window manager (ctest starts Xvfb and openbox).
#include "Splash.h"

#include "application.h"

#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <gtest/gtest.h>

TEST(SplashVu, LEcranMontreLAccueilPendantLaConstructionDesFenetres)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "il faut un vrai serveur X et un gestionnaire de fenêtres";
    titre_application = QStringLiteral("Slideshow V2.32");
    const auto splash = montre_splash();
    // The main window is being built: no event is handled for a while.
    QThread::msleep(200);
    const QRect place(splash->mapToGlobal(QPoint(0, 0)), splash->size());
    const QImage ecran = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    const QImage attendu = splash->grab().toImage();
    int pareils = 0, points = 0;
    for (int y = 4; y < place.height(); y += 8)
        for (int x = 4; x < place.width(); x += 8, ++points)
            pareils += ecran.pixelColor(place.topLeft() + QPoint(x, y)) == attendu.pixelColor(x, y);
    EXPECT_GT(pareils, points * 9 / 10) << pareils << " of " << points;
}
