#include "Danhint.h"

#include "ecran.h"

#include <QApplication>
#include <QCursor>
#include <QHelpEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

const QColor VERT(0, 160, 0);

// A green window under the balloons, so that the screen copy shows.
class Bulles : public ::testing::Test {
protected:
    void SetUp() override
    {
        fond.setAutoFillBackground(true);
        QPalette palette = fond.palette();
        palette.setColor(QPalette::Window, VERT);
        fond.setPalette(palette);
        fond.setGeometry(QGuiApplication::primaryScreen()->geometry());
        bouton.setGeometry(100, 100, 120, 30);
        bouton.setToolTip(QStringLiteral("Ouvrir ou créer un diaporama"));
        fond.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&fond));
        QTest::qWait(50);
    }

    void TearDown() override
    {
        if (fenetre_bulle())
            fenetre_bulle()->hide();
    }

    // The balloon for `texte` with the mouse at `souris`, as it looks on the screen.
    TNewHint *montre(const QString &texte, QPoint souris = {300, 300})
    {
        QCursor::setPos(souris);
        TNewHint *bulle = fenetre_bulle();
        bulle->ActivateHint(bulle->CalcHintRect(1000, texte), texte);
        QTest::qWait(50);
        return bulle;
    }

    static QImage a_l_ecran(TNewHint *bulle)
    {
        if (QGuiApplication::platformName() == QLatin1String("xcb")) {
            const QRect r = bulle->geometry();
            return bulle->screen()->grabWindow(0, r.x(), r.y(), r.width(), r.height()).toImage();
        }
        return bulle->grab().toImage();
    }

    QWidget fond;
    QPushButton bouton{QStringLiteral("Ouvrir"), &fond};
};

TEST_F(Bulles, LaBulleALEcranAPointeOmbresEtTexteSurLaCopieDeLEcran)
{
    TDanHint danhint;
    danhint.setHintDirection(hdDownRight);
    danhint.setHintShadowColor(Qt::black);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    danhint.setHintFont(arial, Qt::black);
    const QPoint souris(300, 300);
    TNewHint *bulle = montre(QStringLiteral("Ouvrir ou créer un diaporama"), souris);
    EXPECT_EQ(bulle->pos(), souris + QPoint(0, 15));
    const QImage image = a_l_ecran(bulle);
    ASSERT_EQ(image.size(), bulle->size());
    const int W = image.width(), H = image.height();
    const QColor jaune(255, 255, 0);
    EXPECT_EQ(image.pixelColor(10, 10), jaune) << "pointer";
    EXPECT_EQ(image.pixelColor(W - 2, 5), VERT) << "the screen around the balloon";
    const int y = 31 + (W - 3 + 31) % 2;  // a shaded square of the checkerboard
    EXPECT_EQ(image.pixelColor(W - 3, y), Qt::black) << "shadow strip on the right";
    EXPECT_EQ(image.pixelColor(W - 3, y + 1), VERT);
    EXPECT_EQ(image.pixelColor(W / 2 + (W / 2 + H) % 2, H - 4), Qt::black) << "shadow strip below";
    int texte = 0;
    for (int y = 18; y < H - 8; ++y)
        for (int x = 8; x < W - 6; ++x)
            texte += image.pixelColor(x, y).lightness() < 80;
    EXPECT_GT(texte, 20) << "black text in the box";
    capture_ecran(bulle, QStringLiteral("bulle_hdDownRight"));
}

TEST_F(Bulles, ChaqueDirectionALEcran)
{
    TDanHint danhint;
    const QRect ecran = QGuiApplication::primaryScreen()->geometry();
    for (const THintDirection direction : {hdUpRight, hdUpLeft, hdDownRight, hdDownLeft}) {
        danhint.setHintDirection(direction);
        TNewHint *bulle = montre(QStringLiteral("Diapositive suivante"), ecran.center());
        EXPECT_EQ(bulle->direction(), direction);
        EXPECT_TRUE(ecran.contains(bulle->geometry()));
        // Beside the box, the screen as it is: not the balloon shown just before.
        const QImage image = a_l_ecran(bulle);
        EXPECT_EQ(image.pixelColor(image.width() - 2, vers_le_haut(direction) ? 2 : image.height() - 1),
                  VERT);
        capture_ecran(bulle, QStringLiteral("bulle_%1").arg(int(direction)));
    }
}

TEST_F(Bulles, LeChoixDeDirectionNeVautQuePourUneBulle)
{
    TDanHint danhint;
    QWidget *vu = nullptr;
    danhint.OnSelectHintDirection = [&](QWidget *controle, THintDirection &direction) {
        vu = controle;
        if (controle == &bouton)
            direction = hdDownLeft;
    };
    EXPECT_EQ(montre(QStringLiteral("bouton"), {150, 115})->direction(), hdDownLeft);
    EXPECT_EQ(vu, &bouton);
    EXPECT_EQ(danhint.HintDirection(), hdUpRight);
    EXPECT_EQ(montre(QStringLiteral("fond"), {500, 400})->direction(), hdUpRight);
    EXPECT_EQ(vu, &fond);
}

TEST_F(Bulles, UneNouvellePoliceServiraALaBulleSuivante)
{
    TDanHint danhint;
    const QSize avant = montre(QStringLiteral("Diapositive suivante"))->size();
    QFont grande(QStringLiteral("Arial"));
    grande.setPixelSize(30);
    danhint.setHintFont(grande, Qt::red);
    EXPECT_FALSE(fenetre_bulle()->isVisible()) << "the balloon on show goes";
    TNewHint *bulle = montre(QStringLiteral("Diapositive suivante"));
    EXPECT_GT(bulle->height(), avant.height() + 10);
    const QImage image = bulle->grab().toImage();
    int rouges = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            rouges += image.pixelColor(x, y) == QColor(Qt::red);
    EXPECT_GT(rouges, 20);
}

TEST_F(Bulles, LaBulleRemplaceLInfoBulleDeChaqueWidget)
{
    TDanHint danhint;
    danhint.setHintPauseTime(250);
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 250);

    QCursor::setPos(bouton.mapToGlobal(QPoint(10, 10)));
    QHelpEvent aide(QEvent::ToolTip, QPoint(10, 10), bouton.mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(&bouton, &aide);
    TNewHint *bulle = fenetre_bulle();
    ASSERT_TRUE(bulle->isVisible());
    EXPECT_EQ(bulle->windowTitle(), bouton.toolTip());
    EXPECT_FALSE(QToolTip::isVisible());

    QTest::mouseClick(&bouton, Qt::LeftButton);
    EXPECT_FALSE(bulle->isVisible()) << "a click dismisses it";

    QWidget sans_aide(&fond);
    QHelpEvent ailleurs(QEvent::ToolTip, QPoint(1, 1), sans_aide.mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(&sans_aide, &ailleurs);
    EXPECT_FALSE(bulle->isVisible()) << "nothing for a widget without a tooltip";
}

}  // namespace
