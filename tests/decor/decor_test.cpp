#include "About.h"
#include "Splash.h"

#include "Label3D.h"
#include "Logo.h"
#include "application.h"
#include "ecran.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Decor : public ::testing::Test {
protected:
    void SetUp() override { titre_application = QStringLiteral("Slideshow V2.32"); }

    static void centree(const QWidget &fenetre)
    {
        const QPoint ecart =
            fenetre.frameGeometry().center() - QGuiApplication::primaryScreen()->geometry().center();
        EXPECT_LE(ecart.manhattanLength(), 2);
    }

    // The name label is painted white over the background picture.
    static void nom_peint(TLabel3D *logiciel)
    {
        const QImage image = logiciel->window()->grab().toImage();
        const QRect zone = logiciel->geometry().translated(logiciel->parentWidget()->mapTo(
            logiciel->window(), QPoint(0, 0)));
        int blancs = 0;
        for (int y = zone.top(); y <= zone.bottom(); ++y)
            for (int x = zone.left(); x <= zone.right(); ++x)
                blancs += image.pixelColor(x, y) == QColor(Qt::white);
        EXPECT_GT(blancs, 100);
    }
};

TEST(NomLogiciel, LeTitreSansSaVersion)
{
    EXPECT_EQ(nom_logiciel(QStringLiteral("Slideshow V2.32")), QStringLiteral("Slideshow"));
    EXPECT_EQ(nom_logiciel(QStringLiteral("V2.32")), QString());
    EXPECT_EQ(nom_logiciel(QString()), QString());
}

TEST_F(Decor, LAccueilSansBordAuCentreAvecLeNomDuProgramme)
{
    TSplashForm splash;
    EXPECT_TRUE(splash.isVisible()) << "visible from its creation";
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash.size(), QSize(324, 200));
    centree(splash);
    EXPECT_EQ(splash.logiciel->text(), QStringLiteral("Slideshow"));
    EXPECT_EQ(splash.logiciel->y(), 112);
    EXPECT_EQ(splash.Label3D1->text(), QStringLiteral("Chargement en cours ..."));
    EXPECT_EQ(splash.Label3D1->pos(), QPoint(67, 172));
    nom_peint(splash.logiciel);
    capture_ecran(&splash, QStringLiteral("splash"));
}

TEST_F(Decor, UnClicSurLImageLeLogoOuLeNomFermeLAPropos)
{
    Ta_propos a_propos;
    EXPECT_EQ(a_propos.windowTitle(), QStringLiteral("A propos"));
    EXPECT_EQ(a_propos.size(), QSize(324, 215));
    EXPECT_EQ(a_propos.LOGO1->geometry(), QRect(12, 4, 100, 100));
    for (QWidget *cible : {static_cast<QWidget *>(a_propos.Image1),
                           static_cast<QWidget *>(a_propos.LOGO1),
                           static_cast<QWidget *>(a_propos.logiciel)}) {
        a_propos.setResult(QDialog::Rejected);
        a_propos.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&a_propos));
        EXPECT_EQ(a_propos.logiciel->text(), QStringLiteral("Slideshow"));
        centree(a_propos);
        if (cible == a_propos.Image1) {
            nom_peint(a_propos.logiciel);
            capture_ecran(&a_propos, QStringLiteral("a_propos"));
        }
        QTest::mouseClick(cible, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_FALSE(a_propos.isVisible()) << cible->objectName().toStdString();
        EXPECT_EQ(a_propos.result(), QDialog::Accepted);
    }
}

}  // namespace
