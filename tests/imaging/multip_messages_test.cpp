// Scrolling messages played by the image control, and the driver that ticks them.
#include "TMultiP.h"
#include "animation.h"
#include "multip_support.h"

#include "script_systeme.h"
#include "ecran.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor kBackground(0, 0, 128);  // stored colour 0x800000

QByteArray Tagged(int speed, const QByteArray &text = " Bonjour \xe0 tous ")
{
    return "/fc|65535/fh|-20/fn|Liberation Sans/fs|/ft|1000/bc|8388608/sp|" + QByteArray::number(speed) +
           "/sm|" + text + "/eo|";
}

QByteArray Lined(int speed, const QByteArrayList &lines)
{
    QByteArray file = "Message\r\n65535\r\n-16\r\nLiberation Serif\r\n0\r\n0000\r\n8388608\r\n" +
                      QByteArray::number(speed) + "\r\n";
    for (const QByteArray &line : lines)
        file += line + "\r\n";
    return file;
}

class Messages : public ::testing::Test {
protected:
    void SetUp() override
    {
        image.resize(240, 120);
        image.setColor(Qt::darkGreen);
    }

    QString file(const char *name, const QByteArray &contents)
    {
        const QString path = folder.chemin(QLatin1String(name));
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(contents);
        return path;
    }

    // One tick of the idle driver, with the events it posts handled.
    void tick()
    {
        image.AnimateStep();
        QCoreApplication::sendPostedEvents(&image);
    }

    DossierTemporaire folder;
    ScriptSysteme boxes;
    TPMultiImage image;
};

}  // namespace

TEST_F(Messages, ATaggedFileRunsItsLineFromTheRight)
{
    const QString path = file("annonce.scm", Tagged(0));
    image.setImageName(path);
    EXPECT_EQ(image.ImageName(), path.toUpper());
    ASSERT_TRUE(image.IsAnimating());
    EXPECT_EQ(image.Message().mode(), ScrollingMessage::Mode::Horizontal);
    EXPECT_EQ(image.Message().text, QStringLiteral(" Bonjour à tous "));
    EXPECT_EQ(image.Color(), kBackground);
    EXPECT_TRUE(image.Picture().isEmpty());
    EXPECT_EQ(image.InfoType, QStringLiteral("SCM"));
    EXPECT_EQ(image.InfoFileSize, QFileInfo(path).size());

    const QRect start = image.Message().textRect();
    EXPECT_EQ(start.left(), 240);
    const qint64 rendered = image.Message().textBitmap().cacheKey();
    for (int step = 0; step < 120 + start.width() / 2; ++step)
        tick();
    EXPECT_EQ(image.Message().textRect().left(), 120 - start.width() / 2);
    EXPECT_EQ(image.Message().textBitmap().cacheKey(), rendered);
    capture_ecran(&image, QStringLiteral("multip_message_ligne"));
    // The line is drawn where it stands, over the message background.
    const QImage shown = image.grab().toImage();
    const QRect text = image.Message().textRect();
    EXPECT_EQ(shown.pixelColor(2, 2), kBackground);
    bool yellow = false;
    for (int x = text.left(); x <= text.right() && !yellow; ++x)
        for (int y = text.top(); y <= text.bottom() && !yellow; ++y)
            yellow = shown.pixelColor(x, y) == QColor(Qt::yellow);
    EXPECT_TRUE(yellow);
    EXPECT_TRUE(boxes.boites.isEmpty());
}

TEST_F(Messages, SpeedOneMovesOnEverySecondTickAndZeroOnEach)
{
    image.setImageName(file("lent.scm", Tagged(1)));
    QList<int> lefts;
    for (int step = 0; step < 6; ++step) {
        tick();
        lefts << image.Message().textRect().left();
    }
    EXPECT_EQ(lefts, QList<int>({240, 239, 239, 238, 238, 237}));

    image.setImageName(file("vite.scm", Tagged(0)));
    lefts.clear();
    for (int step = 0; step < 3; ++step) {
        tick();
        lefts << image.Message().textRect().left();
    }
    EXPECT_EQ(lefts, QList<int>({239, 238, 237}));
}

TEST_F(Messages, LinesRiseFromTheBottomOneAfterTheOther)
{
    image.setImageName(file("generique.cms", Lined(0, {"R\xe9" "alisation", "Photos", "Musique"})));
    ASSERT_TRUE(image.IsAnimating());
    EXPECT_EQ(image.Message().mode(), ScrollingMessage::Mode::Vertical);
    EXPECT_EQ(image.Color(), kBackground);
    EXPECT_EQ(image.Message().textRect().top(), 120);
    EXPECT_EQ(image.InfoType, QStringLiteral("CMS"));
    for (int step = 0; step < 70; ++step)
        tick();
    EXPECT_EQ(image.Message().textRect().top(), 50);
    capture_ecran(&image, QStringLiteral("multip_message_lignes"));
    while (image.Message().currentLine() == 0)
        tick();
    EXPECT_EQ(image.Message().currentLine(), 1);
}

TEST_F(Messages, OneLineRepeatsForever)
{
    image.setImageName(file("seule.cms", Lined(0, {"Toujours"})));
    const QRect first = image.Message().textRect();
    int comebacks = 0;
    for (int step = 0; step < 1000; ++step) {
        tick();
        comebacks += image.Message().textRect() == first;
    }
    EXPECT_GE(comebacks, 5);
    EXPECT_TRUE(image.IsAnimating());
}

TEST_F(Messages, ALineFileWithOnlyItsHeaderDoesNotAnimate)
{
    image.setImageName(file("vide.cms", Lined(0, {})));
    EXPECT_FALSE(image.IsAnimating());
    EXPECT_EQ(image.Color(), QColor(Qt::darkGreen));
    EXPECT_EQ(image.InfoType, QStringLiteral("CMS"));
    image.setImageName(file("blanc.cms", Lined(0, {"", "Deux"})));
    EXPECT_FALSE(image.IsAnimating());
}

TEST_F(Messages, DamagedMessageFilesEmptyThePictureWithoutABox)
{
    image.setPicture(TPicture::fromBitmap(QImage(5, 5, QImage::Format_RGB888)));
    const QString path = file("abime.scm", "/fc|rouge/fh|");
    image.setImageName(path);
    EXPECT_EQ(image.ImageName(), path.toUpper());
    EXPECT_TRUE(image.Picture().isEmpty());
    EXPECT_FALSE(image.IsAnimating());

    image.setImageName(file("court.cms", "Titre\r\n255\r\n"));
    EXPECT_FALSE(image.IsAnimating());
    EXPECT_EQ(image.Color(), QColor(Qt::darkGreen));
    EXPECT_TRUE(boxes.boites.isEmpty());
}

TEST_F(Messages, APictureLoadedAfterAMessageGetsTheControlsColourBack)
{
    QImage photo(10, 10, QImage::Format_RGB888);
    photo.fill(Qt::red);
    image.setPicture(TPicture::fromBitmap(photo));
    image.SaveAsBmp(folder.chemin(QStringLiteral("photo.bmp")));

    image.setImageName(file("annonce.scm", Tagged(0)));
    ASSERT_EQ(image.Color(), kBackground);
    image.setImageName(folder.chemin(QStringLiteral("photo.bmp")));
    EXPECT_FALSE(image.IsAnimating());
    EXPECT_EQ(image.Color(), QColor(Qt::darkGreen));

    // One message after another: the colour from before both comes back.
    image.setImageName(file("annonce.scm", Tagged(0)));
    image.setImageName(file("generique.cms", Lined(0, {"Un"})));
    image.ClearDisplay();
    EXPECT_EQ(image.Color(), QColor(Qt::darkGreen));

    // A picture assigned, or a missing file, ends the message the same way.
    image.setImageName(file("annonce.scm", Tagged(0)));
    image.setPicture(TPicture::fromBitmap(photo));
    EXPECT_FALSE(image.IsAnimating());
    EXPECT_EQ(image.Color(), QColor(Qt::darkGreen));
    image.setImageName(file("annonce.scm", Tagged(0)));
    image.setImageName(folder.chemin(QStringLiteral("absente.jpg")));
    EXPECT_FALSE(image.IsAnimating());
    EXPECT_EQ(image.Color(), QColor(Qt::darkGreen));
}

TEST_F(Messages, PastingEndsTheMessageInItsBackgroundColour)
{
    QImage photo(10, 10, QImage::Format_RGB888);
    photo.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(photo);
    image.setImageName(file("annonce.scm", Tagged(0)));
    image.PasteFromClipboard();
    EXPECT_FALSE(image.IsAnimating());
    EXPECT_EQ(image.Picture().size(), QSize(10, 10));
    EXPECT_EQ(image.Color(), kBackground);
}

TEST_F(Messages, TheIdleDriverTicksOnlyWhileAMessagePlays)
{
    AnimationIdle idle;
    idle.attach(&image);
    EXPECT_FALSE(idle.ticking());
    image.setImageName(file("annonce.scm", Tagged(0)));
    EXPECT_TRUE(idle.ticking());
    QTest::qWait(200);
    EXPECT_LT(image.Message().textRect().left(), 235);

    image.ClearDisplay();
    EXPECT_FALSE(idle.ticking());

    idle.detach();
    image.setImageName(file("annonce.scm", Tagged(0)));
    EXPECT_FALSE(idle.ticking());
    idle.attach(&image);  // attaching to a control that already plays starts at once
    EXPECT_TRUE(idle.ticking());
}

TEST_F(Messages, TheDriverStopsWhenItsControlGoesAway)
{
    AnimationIdle idle;
    auto *doomed = new TPMultiImage;
    idle.attach(doomed);
    doomed->setImageName(file("annonce.scm", Tagged(0)));
    ASSERT_TRUE(idle.ticking());
    delete doomed;
    EXPECT_FALSE(idle.ticking());  // at once: no tick has to come first
}
