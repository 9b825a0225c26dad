// The program's own bitmap resources and window capture.
#include "imagefile.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QWidget>

TEST(ResourceBitmap, ByNumberWithItsColoursUsed)
{
    BitmapObject b;
    ASSERT_TRUE(LoadResourceBitmap({}, QStringLiteral("101"), nullptr, b));
    ASSERT_EQ(b.bitmap.size(), QSize(4, 2));
    EXPECT_FALSE(b.palette().isEmpty());
    EXPECT_LE(b.palette().size(), 16);
    // Stored bottom-up: the file's last row is the top one.
    EXPECT_EQ(QColor(b.bitmap.pixel(0, 0)), QColor(Qt::red));
    EXPECT_EQ(QColor(b.bitmap.pixel(3, 0)), QColor(Qt::green));
    EXPECT_EQ(QColor(b.bitmap.pixel(1, 1)), QColor(Qt::green));
    EXPECT_EQ(QColor(b.bitmap.pixel(2, 1)), QColor(Qt::blue));

    BitmapObject zeros;  // a number is a number however it is written
    ASSERT_TRUE(LoadResourceBitmap({}, QStringLiteral("0101"), nullptr, zeros));
    EXPECT_EQ(zeros.bitmap, b.bitmap);
}

TEST(ResourceBitmap, ByNameInAnyCaseWithACoreHeader)
{
    BitmapObject b;
    ASSERT_TRUE(LoadResourceBitmap({}, QStringLiteral("logo"), nullptr, b));
    ASSERT_EQ(b.bitmap.size(), QSize(8, 2));
    EXPECT_EQ(QColor(b.bitmap.pixel(0, 0)), QColor(Qt::white));
    EXPECT_EQ(QColor(b.bitmap.pixel(7, 0)), QColor(Qt::black));
    EXPECT_EQ(QColor(b.bitmap.pixel(0, 1)), QColor(Qt::black));
    EXPECT_EQ(QColor(b.bitmap.pixel(7, 1)), QColor(Qt::white));
}

TEST(ResourceBitmap, RefusedLookUps)
{
    BitmapObject b;
    b.bitmap = QImage(3, 3, QImage::Format_RGB888);
    const QImage before = b.bitmap;
    EXPECT_FALSE(LoadResourceBitmap({}, QStringLiteral("ABSENT"), nullptr, b));
    EXPECT_FALSE(LoadResourceBitmap({}, QStringLiteral("102"), nullptr, b));
    EXPECT_FALSE(LoadResourceBitmap({}, QString(), nullptr, b));
    EXPECT_FALSE(LoadResourceBitmap({}, QStringLiteral("TRUE"), nullptr, b));  // 24 bits
    EXPECT_FALSE(LoadResourceBitmap(QStringLiteral("AUTRE.DLL"), QStringLiteral("LOGO"), nullptr, b));
    EXPECT_EQ(b.bitmap, before);

    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    EXPECT_TRUE(LoadResourceBitmap(self.toUpper() + QStringLiteral(".EXE"), QStringLiteral("LOGO"),
                                   nullptr, b));
}

TEST(CaptureWindow, TheWholeWidgetAsATrueColourPicture)
{
    QWidget w;
    w.resize(40, 30);
    w.setAutoFillBackground(true);
    QPalette p = w.palette();
    p.setColor(QPalette::Window, QColor(10, 200, 30));
    w.setPalette(p);

    BitmapObject b;
    ASSERT_TRUE(CaptureWindowBitmap(&w, b));
    EXPECT_EQ(b.bitmap.size(), QSize(40, 30) * w.devicePixelRatio());
    EXPECT_EQ(b.bitmap.format(), QImage::Format_RGB888);
    EXPECT_EQ(QColor(b.bitmap.pixel(20, 15)), QColor(10, 200, 30));
    EXPECT_FALSE(CaptureWindowBitmap(nullptr, b));
}
