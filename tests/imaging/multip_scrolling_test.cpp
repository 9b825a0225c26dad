// The scrolling message state machine, without a control.
#include "scrolling.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

ScrollingMessage Message(int speed)
{
    ScrollingMessage message;
    message.font.font = QFont(QStringLiteral("Liberation Sans"));
    message.font.font.setPixelSize(13);
    message.font.color = Qt::yellow;
    message.background = QColor(0, 0, 128);
    message.speed = speed;
    return message;
}

// Ticks until the text moves; the number of ticks that took.
int TicksToMove(ScrollingMessage &message, QSize control = {200, 100})
{
    for (int ticks = 1; ticks <= 100; ++ticks)
        if (message.mode() == ScrollingMessage::Mode::Horizontal ? message.horizontalStep()
                                                                 : message.verticalStep(control))
            return ticks;
    return 0;
}

}  // namespace

TEST(ScrollingMessage, SpeedSetsHowManyTicksMakeAStep)
{
    for (int speed : {-3, 0, 1, 4}) {
        ScrollingMessage message = Message(speed);
        message.text = QStringLiteral("Bonjour");
        message.startHorizontal({200, 100}, Qt::gray);
        const int expected = speed <= 0 ? 1 : speed + 1;
        for (int step = 0; step < 5; ++step)
            EXPECT_EQ(TicksToMove(message), expected) << "speed " << speed;
    }
}

TEST(ScrollingMessage, HorizontalLineRunsLeftAndComesBackFromTheRight)
{
    ScrollingMessage message = Message(0);
    message.text = QStringLiteral("Bonjour");
    message.startHorizontal({200, 101}, Qt::gray);
    const QRect start = message.textRect();
    ASSERT_GT(start.width(), 10);
    EXPECT_EQ(start.left(), 200);
    EXPECT_EQ(start.top(), (101 - start.height()) / 2);
    EXPECT_EQ(message.textBitmap().pixelColor(0, 0), QColor(0, 0, 128));

    const qint64 rendered = message.textBitmap().cacheKey();
    // Right edge = 200 + w; it wraps once it has gone below 0: after 201 + w steps.
    const int steps = 201 + start.width();
    for (int i = 1; i < steps; ++i) {
        ASSERT_TRUE(message.horizontalStep());
        ASSERT_EQ(message.textRect().left(), 200 - i);
    }
    ASSERT_TRUE(message.horizontalStep());
    EXPECT_EQ(message.textRect(), start);
    EXPECT_EQ(message.textBitmap().cacheKey(), rendered) << "the line is rendered once, not per step";
    EXPECT_FALSE(message.verticalStep({200, 101})) << "only the playing scroll moves";
}

TEST(ScrollingMessage, LinesRiseOneAfterTheOtherAndStartAgain)
{
    ScrollingMessage message = Message(0);
    message.lines = {QStringLiteral("Un"), QStringLiteral("Deux"), QStringLiteral("Trois")};
    ASSERT_TRUE(message.startVertical({300, 60}, Qt::gray));
    EXPECT_EQ(message.mode(), ScrollingMessage::Mode::Vertical);
    const QRect first = message.textRect();
    EXPECT_EQ(first.top(), 60);
    EXPECT_EQ(first.left(), (300 - first.width()) / 2);
    const int lineHeight = first.height() - 5;
    // The padded line "  Un " widened by its width divided by its length minus 2.
    const int measured = QFontMetrics(message.font.font).horizontalAdvance(QStringLiteral("  Un "));
    EXPECT_NEAR(first.width(), measured + measured / 3, 1);

    // Top goes from 60 down to -lineHeight - 6 before the next line comes in at the bottom.
    for (int step = 1; step <= 60 + lineHeight + 5; ++step) {
        ASSERT_TRUE(message.verticalStep({300, 60}));
        ASSERT_EQ(message.textRect().top(), 60 - step);
        ASSERT_EQ(message.currentLine(), 0);
    }
    ASSERT_TRUE(message.verticalStep({300, 60}));
    EXPECT_EQ(message.currentLine(), 1);
    EXPECT_EQ(message.textRect().top(), 60);

    // Lines laid out for the control's size when they come in.
    for (int step = 0; step < 200 && message.currentLine() == 1; ++step)
        message.verticalStep({500, 90});
    EXPECT_EQ(message.currentLine(), 2);
    EXPECT_EQ(message.textRect().top(), 90);
    EXPECT_EQ(message.textRect().left(), (500 - message.textRect().width()) / 2);
    for (int step = 0; step < 200 && message.currentLine() == 2; ++step)
        message.verticalStep({500, 90});
    EXPECT_EQ(message.currentLine(), 0);
}

TEST(ScrollingMessage, OneLineRepeatsForeverAndStopGivesTheFirstColourBack)
{
    ScrollingMessage message = Message(0);
    message.lines = {QStringLiteral("Seule")};
    ASSERT_TRUE(message.startVertical({100, 40}, Qt::darkGreen));
    const QRect first = message.textRect();
    int comebacks = 0;
    for (int step = 0; step < 1000; ++step) {
        ASSERT_TRUE(message.verticalStep({100, 40}));
        comebacks += message.textRect() == first;
    }
    EXPECT_GE(comebacks, 5);
    EXPECT_TRUE(message.playing());
    EXPECT_EQ(message.stop(), QColor(Qt::darkGreen));
    EXPECT_FALSE(message.playing());
    EXPECT_EQ(message.stop(), std::nullopt);
}

TEST(ScrollingMessage, NoLinesOrAnEmptyFirstLineDoNotStart)
{
    ScrollingMessage message = Message(0);
    EXPECT_FALSE(message.startVertical({100, 40}, Qt::gray));
    message.lines = {QString(), QStringLiteral("Deux")};
    EXPECT_FALSE(message.startVertical({100, 40}, Qt::gray));
    EXPECT_FALSE(message.playing());
    EXPECT_FALSE(message.verticalStep({100, 40}));
    EXPECT_EQ(message.stop(), std::nullopt);
}

TEST(ScrollingMessage, EmptyLinesInsideTheListAreSkipped)
{
    ScrollingMessage message = Message(0);
    message.lines = {QStringLiteral("Un"), QString(), QStringLiteral("Trois")};
    ASSERT_TRUE(message.startVertical({100, 40}, Qt::gray));
    int steps = 0;
    while (message.currentLine() == 0 && steps++ < 500)
        message.verticalStep({100, 40});
    EXPECT_EQ(message.currentLine(), 1);
    message.verticalStep({100, 40});  // nothing to show: on to the next line
    EXPECT_EQ(message.currentLine(), 2);
    EXPECT_EQ(message.textRect().top(), 40);
}

TEST(ScrollingMessage, BlankLinesKeepTheAnimationGoing)
{
    ScrollingMessage message = Message(0);
    message.lines = {QStringLiteral("  "), QStringLiteral(" ")};
    ASSERT_TRUE(message.startVertical({100, 40}, Qt::gray));
    EXPECT_GT(message.textRect().width(), 0);
    int steps = 0;
    while (message.currentLine() == 0 && steps++ < 500)
        message.verticalStep({100, 40});
    EXPECT_EQ(message.currentLine(), 1);
    EXPECT_GT(message.textRect().width(), 0);
}

TEST(ScrollingMessage, AMessageStartedOverAnotherKeepsTheControlsOwnColour)
{
    ScrollingMessage message = Message(0);
    message.text = QStringLiteral("Un");
    message.startHorizontal({100, 40}, Qt::darkRed);
    message.lines = {QStringLiteral("Deux")};
    ASSERT_TRUE(message.startVertical({100, 40}, message.background));
    EXPECT_EQ(message.mode(), ScrollingMessage::Mode::Vertical);
    EXPECT_FALSE(message.horizontalStep());
    EXPECT_EQ(message.stop(), QColor(Qt::darkRed));
}

// A huge message takes a bounded bitmap, a window of the text, and still plays through.
TEST(ScrollingMessage, AHugeMessageIsDrawnAWindowAtATime)
{
    const auto holdsText = [](const ScrollingMessage &m) {
        const QImage &b = m.textBitmap();
        for (int x = 0; x < b.width(); x += 3)
            if (b.pixelColor(x, b.height() / 2) != QColor(0, 0, 128))
                return true;
        return false;
    };
    const QSize control(400, 300);
    ScrollingMessage horizontal = Message(0);
    horizontal.font.font.setPixelSize(200);
    horizontal.text = QString(4 << 20, QLatin1Char('W'));  // a 4 MiB tagged file's text
    horizontal.startHorizontal(control, Qt::gray);
    for (int step = 0; step < 20000; ++step) {
        ASSERT_TRUE(horizontal.horizontalStep());
        ASSERT_LE(qint64(horizontal.textBitmap().width()) * horizontal.textBitmap().height(), 2048LL * 2048);
    }
    EXPECT_TRUE(horizontal.textRect().intersects(QRect(QPoint(0, 0), control)));
    EXPECT_TRUE(holdsText(horizontal));

    ScrollingMessage vertical = Message(0);
    vertical.font.font.setPixelSize(200);
    vertical.lines = {QString(65000, QLatin1Char('W'))};  // one line of a lines file
    ASSERT_TRUE(vertical.startVertical(control, Qt::gray));
    EXPECT_LE(qint64(vertical.textBitmap().width()) * vertical.textBitmap().height(), 2048LL * 2048);
    EXPECT_LE(vertical.textRect().left(), 0);
    EXPECT_GE(vertical.textRect().right(), control.width());  // the visible middle of the line is drawn
    EXPECT_TRUE(holdsText(vertical));
}
