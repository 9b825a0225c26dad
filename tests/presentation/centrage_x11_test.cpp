// Windows placed by the program under a real window manager, which frames them
// after they are shown: run by its own ctest entry under openbox.
#include "Fgauge.h"
#include "Fplanche.h"
#include "Ftraite.h"
#include "Info.h"
#include "Option.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

bool sous_un_gestionnaire() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

// Where the client area lands once the window manager has framed the window.
QPoint place_montree(QWidget &fenetre)
{
    fenetre.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&fenetre));
    QTest::qWait(300);
    return fenetre.geometry().topLeft();
}

TEST(CentrageX11, UnDialogueReapparaitAuMemeEndroit)
{
    if (!sous_un_gestionnaire())
        GTEST_SKIP() << "il faut un vrai serveur X et un gestionnaire de fenêtres";
    Toption_affichage options;
    options.principale = QRect(100, 80, 800, 600);
    Tinfo_diapo info;
    Tjauge jauge;
    TPlanche planche(&info, &jauge);
    for (QDialog *dialogue : {static_cast<QDialog *>(&options), static_cast<QDialog *>(&info),
                              static_cast<QDialog *>(&planche)}) {
        const QPoint premiere = place_montree(*dialogue);
        for (int fois = 1; fois < 3; ++fois) {
            dialogue->hide();
            QTest::qWait(100);
            EXPECT_EQ(place_montree(*dialogue), premiere) << dialogue->objectName().toStdString() << " " << fois;
        }
        dialogue->hide();
    }
}

TEST(CentrageX11, LaManipulationRestaureeEstCentreeSurLEcran)
{
    if (!sous_un_gestionnaire())
        GTEST_SKIP() << "il faut un vrai serveur X et un gestionnaire de fenêtres";
    Ttraitement manipulation(nullptr);
    manipulation.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&manipulation));
    QTest::qWait(300);
    manipulation.showNormal();
    QTest::qWait(500);
    const QRect ecran = manipulation.screen()->availableGeometry();
    const QRect cadre = manipulation.frameGeometry();
    EXPECT_LT(cadre.width(), ecran.width());
    // Centred within the frame's margins (the client area is what is centred).
    EXPECT_LE(std::abs(cadre.center().x() - ecran.center().x()), 30) << cadre.x() << "," << cadre.y();
    EXPECT_LE(std::abs(cadre.center().y() - ecran.center().y()), 30) << cadre.x() << "," << cadre.y();
}

}  // namespace
