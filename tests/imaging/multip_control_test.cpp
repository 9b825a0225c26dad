// The image control with pictures set directly, icons and metafiles: properties,
// painting, caption, clipboard, printing and loading rules that need no codec.
#include "TMultiP.h"
#include "multip_support.h"

#include "script_systeme.h"
#include "couleurs.h"
#include "ecran.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDataStream>
#include <QFile>
#include <QImageWriter>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QImage Filled(int width, int height, const QColor &colour)
{
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(colour);
    return image;
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A placeable Windows metafile, one inch by half an inch, filled with one red rectangle.
QByteArray RedMetafile()
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint16 placeable[] = {0xCDD7, 0x9AC6, 0, 0, 0, 1440, 720, 1440, 0, 0};
    quint16 checksum = 0;
    for (quint16 word : placeable) {
        out << word;
        checksum ^= word;
    }
    out << checksum;
    const QList<QList<quint16>> records = {
        {0x020B, 0, 0},                          // SetWindowOrg(y, x)
        {0x020C, 720, 1440},                     // SetWindowExt(height, width)
        {0x02FC, 0, 0x00FF, 0x0000, 0},          // CreateBrushIndirect: solid, red
        {0x012D, 0},                             // SelectObject(0)
        {0x02FA, 5, 0, 0, 0, 0},                 // CreatePenIndirect: null pen
        {0x012D, 1},                             // SelectObject(1)
        {0x041B, 720, 1440, 0, 0},               // Rectangle(bottom, right, top, left)
        {0x0000},                                // end of file
    };
    quint32 words = 9, largest = 0;
    for (const auto &record : records) {
        words += 2 + record.size();
        largest = std::max<quint32>(largest, 2 + record.size());
    }
    out << quint16(1) << quint16(9) << quint16(0x0300) << words << quint16(2) << largest << quint16(0);
    for (const auto &record : records) {
        out << quint32(2 + record.size());
        for (quint16 word : record)
            out << word;
    }
    return bytes;
}

class Control : public ::testing::Test {
protected:
    void SetUp() override { image.setColor(Qt::blue); }

    QColor At(int x, int y) { return image.grab().toImage().pixelColor(x, y); }

    DossierTemporaire folder;
    ScriptSysteme boxes;
    TPMultiImage image;
};

}  // namespace

TEST_F(Control, StartsAsACaptionlessButtonFaceSquare)
{
    TPMultiImage fresh;
    EXPECT_EQ(fresh.size(), QSize(105, 105));
    EXPECT_EQ(fresh.Color(), vers_qcolor(clBtnFace));
    EXPECT_TRUE(fresh.Picture().isEmpty());
    EXPECT_TRUE(fresh.ImageLibPalette());
    EXPECT_TRUE(fresh.ImageDither());
    EXPECT_TRUE(fresh.TextTransParent());
    EXPECT_TRUE(fresh.UseTwainWindow());
    EXPECT_EQ(fresh.ImageReadRes(), lAutoMatic);
    EXPECT_EQ(fresh.ImageWriteRes(), sAutoMatic);
    EXPECT_EQ(fresh.TifSaveCompress(), sNONE);
    EXPECT_EQ(fresh.JPegSaveQuality(), 25);
    EXPECT_EQ(fresh.JPegSaveSmooth(), 0);
    EXPECT_EQ(fresh.BorderStyle(), TPMultiImage::bsNone);
    EXPECT_EQ(fresh.CaptionColor, QColor(Qt::black));
    EXPECT_EQ(fresh.findChild<QLabel *>()->width(), 0);
}

TEST_F(Control, JpegOptionsOutOfRangeTakeTheirFallbacks)
{
    for (int quality : {0, 101, 255, -4}) {
        image.setJPegSaveQuality(50);
        image.setJPegSaveQuality(quality);
        EXPECT_EQ(image.JPegSaveQuality(), 25) << quality;
    }
    image.setJPegSaveQuality(1);
    EXPECT_EQ(image.JPegSaveQuality(), 1);
    image.setJPegSaveQuality(100);
    EXPECT_EQ(image.JPegSaveQuality(), 100);
    image.setJPegSaveSmooth(101);
    EXPECT_EQ(image.JPegSaveSmooth(), 5);
    image.setJPegSaveSmooth(100);
    EXPECT_EQ(image.JPegSaveSmooth(), 100);
    image.setJPegSaveSmooth(0);
    EXPECT_EQ(image.JPegSaveSmooth(), 0);
}

TEST_F(Control, StretchAndStretchRatioExcludeEachOther)
{
    image.setStretchRatio(true);
    image.setStretch(true);
    EXPECT_TRUE(image.Stretch());
    EXPECT_FALSE(image.StretchRatio());
    image.setStretchRatio(true);
    EXPECT_FALSE(image.Stretch());
    EXPECT_TRUE(image.StretchRatio());
    image.setStretch(false);  // switching one off leaves the other alone
    EXPECT_TRUE(image.StretchRatio());
}

TEST_F(Control, RatioFitsAWidePictureAcrossAndAHighOneDown)
{
    image.resize(200, 200);
    image.setStretchRatio(true);
    image.setPicture(TPicture::fromBitmap(Filled(400, 300, Qt::red)));
    capture_ecran(&image, QStringLiteral("multip_proportions"));
    EXPECT_EQ(At(100, 24), QColor(Qt::blue));
    EXPECT_EQ(At(100, 25), QColor(Qt::red));
    EXPECT_EQ(At(0, 100), QColor(Qt::red));
    EXPECT_EQ(At(199, 174), QColor(Qt::red));
    EXPECT_EQ(At(100, 175), QColor(Qt::blue));

    image.resize(300, 200);
    image.setPicture(TPicture::fromBitmap(Filled(300, 400, Qt::red)));
    EXPECT_EQ(At(74, 100), QColor(Qt::blue));
    EXPECT_EQ(At(75, 0), QColor(Qt::red));
    EXPECT_EQ(At(224, 199), QColor(Qt::red));
    EXPECT_EQ(At(225, 100), QColor(Qt::blue));
}

TEST_F(Control, PlainCentredAndStretchedPictures)
{
    QImage picture = Filled(30, 20, Qt::green);
    picture.setPixelColor(0, 0, Qt::yellow);
    image.setPicture(TPicture::fromBitmap(picture));
    capture_ecran(&image, QStringLiteral("multip_plain"));
    EXPECT_EQ(At(0, 0), QColor(Qt::yellow));
    EXPECT_EQ(At(30, 10), QColor(Qt::blue));

    image.setCenter(true);
    capture_ecran(&image, QStringLiteral("multip_centred"));
    EXPECT_EQ(At(37, 42), QColor(Qt::yellow));  // (105 - 30) / 2, (105 - 20) / 2
    EXPECT_EQ(At(36, 42), QColor(Qt::blue));
    EXPECT_EQ(At(66, 61), QColor(Qt::green));
    EXPECT_EQ(At(67, 61), QColor(Qt::blue));

    image.setStretch(true);
    capture_ecran(&image, QStringLiteral("multip_stretched"));
    EXPECT_EQ(At(0, 0), QColor(Qt::yellow));
    EXPECT_EQ(At(104, 104), QColor(Qt::green));
}

TEST_F(Control, LargerPictureCentredIsCutEvenly)
{
    image.resize(100, 80);
    QImage picture = Filled(131, 95, Qt::green);
    picture.setPixelColor(15, 7, Qt::yellow);  // lands on the control's corner
    image.setCenter(true);
    image.setPicture(TPicture::fromBitmap(picture));
    EXPECT_EQ(At(0, 0), QColor(Qt::yellow));
}

TEST_F(Control, WithoutLibraryPaletteTheProportionsAreNotKept)
{
    image.resize(200, 200);
    image.setImageLibPalette(false);
    image.setStretchRatio(true);
    image.setPicture(TPicture::fromBitmap(Filled(40, 30, Qt::red)));
    EXPECT_EQ(At(39, 29), QColor(Qt::red));
    EXPECT_EQ(At(40, 29), QColor(Qt::blue));
}

TEST_F(Control, ThinBorderFramesTheClientArea)
{
    image.setBorderStyle(TPMultiImage::bsSingle);
    QImage picture = Filled(10, 10, Qt::red);
    image.setPicture(TPicture::fromBitmap(picture));
    EXPECT_NE(At(0, 0), QColor(Qt::red));
    EXPECT_EQ(At(1, 1), QColor(Qt::red));
    EXPECT_EQ(At(10, 10), QColor(Qt::red));
    EXPECT_EQ(At(11, 11), QColor(Qt::blue));
}

TEST_F(Control, StretchedPictureIsScaledOnceForManyPaints)
{
    image.setStretch(true);
    image.setPicture(TPicture::fromBitmap(Filled(2000, 1500, Qt::red)));
    for (int paint = 0; paint < 5; ++paint)
        image.grab();
    EXPECT_EQ(image.PaintCache().preparations(), 1);
    image.resize(150, 90);
    image.grab();
    image.grab();
    EXPECT_EQ(image.PaintCache().preparations(), 2);
    image.setStretchRatio(true);
    image.grab();
    EXPECT_EQ(image.PaintCache().preparations(), 3);
    image.setPicture(TPicture::fromBitmap(Filled(2000, 1500, Qt::green)));
    image.grab();
    EXPECT_EQ(image.PaintCache().preparations(), 4);
    EXPECT_EQ(At(75, 45), QColor(Qt::green));
}

TEST_F(Control, AutoSizeTakesThePicturesSize)
{
    image.move(7, 9);
    image.setPicture(TPicture::fromBitmap(Filled(60, 40, Qt::red)));
    EXPECT_EQ(image.size(), QSize(105, 105));
    image.setAutoSize(true);
    EXPECT_EQ(image.geometry(), QRect(7, 9, 60, 40));
    image.setPicture(TPicture::fromBitmap(Filled(33, 44, Qt::red)));
    EXPECT_EQ(image.size(), QSize(33, 44));
    image.setPicture(TPicture());
    EXPECT_EQ(image.size(), QSize(33, 44));
}

TEST_F(Control, CaptionSitsAtTheBottomOrTheTopAcrossTheWidth)
{
    image.resize(200, 150);
    image.setPicture(TPicture::fromBitmap(Filled(200, 150, Qt::white)));
    // Metrics come from a font the project installs, not from the system's default.
    image.setFont(QFont(QStringLiteral("Liberation Sans"), 10));
    auto *caption = image.findChild<QLabel *>();
    image.setText(QStringLiteral("Le pont d'Avignon"));
    image.CaptionColor = Qt::black;
    image.setFontColor(Qt::yellow);
    image.setTextTransParent(false);
    image.LayoutCaption();
    capture_ecran(&image, QStringLiteral("multip_caption_bottom"));
    EXPECT_EQ(caption->text(), QStringLiteral("Le pont d'Avignon"));
    EXPECT_EQ(caption->width(), 200);
    EXPECT_EQ(caption->geometry().bottom(), 149);
    EXPECT_EQ(At(1, 148), QColor(Qt::black));  // the caption's own background
    EXPECT_EQ(At(1, 1), QColor(Qt::white));

    image.setTextop(true);
    image.setTextTransParent(true);
    image.setText(QStringLiteral("Un texte assez long pour passer à la ligne dans la légende"));
    image.LayoutCaption();
    capture_ecran(&image, QStringLiteral("multip_caption_top"));
    EXPECT_EQ(caption->y(), 0);
    EXPECT_EQ(caption->font().family(), QStringLiteral("Liberation Sans"));
    EXPECT_GT(caption->height(), caption->fontMetrics().height() * 3 / 2);  // wrapped
    EXPECT_EQ(At(1, 1), QColor(Qt::white));  // transparent

    image.setText(QString());
    image.LayoutCaption();
    EXPECT_TRUE(caption->text().isEmpty());
}

TEST_F(Control, OnPaintDrawsLastOnEveryPaint)
{
    image.setPicture(TPicture::fromBitmap(Filled(105, 105, Qt::red)));
    int paints = 0;
    QObject::connect(&image, &TPMultiImage::OnPaint, [&](QPainter &canvas) {
        ++paints;
        canvas.fillRect(0, 0, 3, 3, Qt::magenta);
    });
    const QImage shown = image.grab().toImage();
    EXPECT_EQ(shown.pixelColor(1, 1), QColor(Qt::magenta));
    EXPECT_EQ(shown.pixelColor(4, 4), QColor(Qt::red));
    EXPECT_EQ(paints, 1);
    image.grab();
    EXPECT_EQ(paints, 2);
}

TEST_F(Control, ClipboardKeysCopyCutAndPaste)
{
    const QImage picture = Filled(12, 8, Qt::darkCyan);
    image.setPicture(TPicture::fromBitmap(picture));
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&image, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(12, 8));

    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&image, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(12, 8));

    QTest::keyClick(&image, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_TRUE(image.Picture().isEmpty());
    QTest::keyClick(&image, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(image.Picture().size(), QSize(12, 8));

    image.setPicture(TPicture::fromBitmap(Filled(3, 3, Qt::red)));
    QTest::keyClick(&image, Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(image.Picture().isEmpty());
    QTest::keyClick(&image, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(image.Picture().image().pixelColor(1, 1), QColor(Qt::red));

    // An empty picture leaves the clipboard alone; an empty clipboard the picture.
    image.setPicture(TPicture());
    image.CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(3, 3));
    QGuiApplication::clipboard()->clear();
    image.setPicture(TPicture::fromBitmap(picture));
    image.PasteFromClipboard();
    EXPECT_EQ(image.Picture().size(), QSize(12, 8));
}

TEST_F(Control, PrintsIntoTheGivenRectangleOnlyWhenThereIsAPicture)
{
    QImage page(100, 100, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter printer(&page);
        image.PrintImage(printer, 10, 20, 30, 40);
    }
    EXPECT_EQ(page.pixelColor(25, 40), QColor(Qt::white));
    image.setPicture(TPicture::fromBitmap(Filled(3, 4, Qt::red)));
    {
        QPainter printer(&page);
        image.PrintImage(printer, 10, 20, 30, 40);
    }
    EXPECT_EQ(page.pixelColor(10, 20), QColor(Qt::red));
    EXPECT_EQ(page.pixelColor(39, 59), QColor(Qt::red));
    EXPECT_EQ(page.pixelColor(40, 60), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(9, 19), QColor(Qt::white));
}

TEST_F(Control, MissingFilesEmptyThePictureWithoutABox)
{
    image.setPicture(TPicture::fromBitmap(Filled(5, 5, Qt::red)));
    image.setImageName(folder.chemin(QStringLiteral("absente.bmp")));
    EXPECT_EQ(image.ImageName(), QStringLiteral("file not found"));
    EXPECT_TRUE(image.Picture().isEmpty());
    image.setPicture(TPicture::fromBitmap(Filled(5, 5, Qt::red)));
    image.setImageName(QString());
    EXPECT_EQ(image.ImageName(), QStringLiteral("file not found"));
    EXPECT_TRUE(image.Picture().isEmpty());
    EXPECT_TRUE(boxes.boites.isEmpty());
}

TEST_F(Control, AnExtensionLongerThanThreeLettersLoadsNothing)
{
    const QString path = folder.chemin(QStringLiteral("photo.jpeg"));
    WriteFile(path, "not read at all");
    image.setPicture(TPicture::fromBitmap(Filled(5, 5, Qt::red)));
    image.setImageName(path);
    EXPECT_EQ(image.ImageName(), path.toUpper());
    EXPECT_EQ(image.Picture().image().pixelColor(2, 2), QColor(Qt::red));
    EXPECT_TRUE(boxes.boites.isEmpty());
}

TEST_F(Control, IconsAreReadByQtAndDrawnOnThePlainPath)
{
    const QString path = folder.chemin(QStringLiteral("signe.ico"));
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    for (int i = 0; i < 32; ++i)
        icon.setPixelColor(i, i, Qt::red);
    ASSERT_TRUE(QImageWriter(path, "ico").write(icon));
    image.setStretchRatio(true);
    image.setImageName(path);
    EXPECT_EQ(image.ImageName(), QStringLiteral("Non TIF, JPeg, BMP, GIF, PNG or PCX Image"));
    EXPECT_EQ(image.Picture().kind(), TPicture::Kind::Icon);
    EXPECT_EQ(image.Picture().size(), QSize(32, 32));
    EXPECT_EQ(image.InfoType, QStringLiteral("ICO"));
    EXPECT_EQ(image.InfoCompression, QStringLiteral("ICO"));
    EXPECT_EQ(image.InfoWidth, 32);
    EXPECT_EQ(image.InfoBitsPerPixel, 0);
    EXPECT_EQ(image.InfoFileSize, QFileInfo(path).size());
    // Own size at (0, 0) despite StretchRatio; Color through the transparent parts.
    EXPECT_EQ(At(5, 5), QColor(Qt::red));
    EXPECT_EQ(At(6, 5), QColor(Qt::blue));
    EXPECT_EQ(At(40, 40), QColor(Qt::blue));

    WriteFile(path, "pas une icône");
    image.setImageName(path);
    EXPECT_EQ(image.ImageName(), QStringLiteral("Reading ico file failed"));
    EXPECT_TRUE(image.Picture().isEmpty());
    EXPECT_TRUE(boxes.boites.isEmpty());
}

TEST_F(Control, MetafilesAreRenderedAtTheirOwnSize)
{
    const QString path = folder.chemin(QStringLiteral("dessin.wmf"));
    WriteFile(path, RedMetafile());
    image.resize(150, 100);
    image.setImageName(path);
    EXPECT_EQ(image.ImageName(), QStringLiteral("Non TIF, JPeg, BMP, GIF, PNG or PCX Image"));
    ASSERT_EQ(image.Picture().kind(), TPicture::Kind::Metafile);
    EXPECT_EQ(image.Picture().size(), QSize(96, 48));
    EXPECT_EQ(image.InfoType, QStringLiteral("WMF"));
    EXPECT_EQ(image.InfoWidth, 96);
    EXPECT_EQ(image.InfoHeight, 48);
    EXPECT_EQ(At(48, 24), QColor(Qt::red));
    EXPECT_EQ(At(120, 24), QColor(Qt::blue));

    WriteFile(path, QByteArray(300, 'x'));
    image.setImageName(path);
    EXPECT_EQ(image.ImageName(), QStringLiteral("Reading wmf file failed"));
    EXPECT_TRUE(image.Picture().isEmpty());
    EXPECT_TRUE(boxes.boites.isEmpty());
}

TEST_F(Control, InformationOfAMissingIconOrMessageIsAnError)
{
    for (const char *name : {"absente.ico", "absente.wmf", "absent.scm", "absent.cms"}) {
        EXPECT_FALSE(image.ReadImageInfo(folder.chemin(QLatin1String(name)))) << name;
        EXPECT_EQ(image.InfoType, QStringLiteral("ERR"));
        EXPECT_EQ(image.InfoCompression, QStringLiteral("ERR"));
        for (qint64 number : {qint64(image.InfoWidth), qint64(image.InfoHeight),
                              qint64(image.InfoBitsPerPixel), qint64(image.InfoDensity),
                              qint64(image.InfoColors), image.InfoFileSize})
            EXPECT_EQ(number, -1) << name;
    }
}

TEST_F(Control, InformationOfAResourceComesFromThePicture)
{
    QImage picture(10, 3, QImage::Format_Indexed8);
    picture.setColorCount(256);
    image.setPicture(TPicture::fromBitmap(picture));
    EXPECT_TRUE(image.ReadImageInfo(QStringLiteral("nulle/part/LOGO.RES")));
    EXPECT_EQ(image.InfoType, QStringLiteral("RES"));
    EXPECT_EQ(image.InfoCompression, QStringLiteral("BMP"));
    EXPECT_EQ(image.InfoWidth, 10);
    EXPECT_EQ(image.InfoHeight, 3);
    EXPECT_EQ(image.InfoColors, 0);
    EXPECT_EQ(image.InfoFileSize, 40 + 256 * 4 + 12 * 3);
}

namespace {

// Counts the keys that reach it, but not the modifier keys themselves.
struct CountingWindow : QWidget {
    int keys = 0;
    void keyPressEvent(QKeyEvent *event) override
    {
        keys += event->key() != Qt::Key_Control && event->key() != Qt::Key_Shift;
    }
};

}  // namespace

TEST(ControlKeys, KeysReachTheWindowUnlessTheControlsReceiverTakesThem)
{
    CountingWindow window;
    auto *image = new TPMultiImage(&window);
    QTest::keyClick(image, Qt::Key_Right);
    EXPECT_EQ(window.keys, 1);
    QTest::keyClick(image, Qt::Key_C, Qt::ControlModifier);  // the control's own copy
    EXPECT_EQ(window.keys, 1);

    QStringList typed;
    QObject::connect(image, &TPMultiImage::OnKeyDown, [](QKeyEvent *) {});
    QObject::connect(image, &TPMultiImage::OnKeyPress, [&](const QString &text) { typed << text; });
    QTest::keyClick(image, Qt::Key_Right);
    QTest::keyClick(image, Qt::Key_A);
    EXPECT_EQ(window.keys, 1);
    EXPECT_EQ(typed, QStringList({QStringLiteral("a")}));
}

TEST(ControlMouse, AClickIsAPressAndAReleaseInside)
{
    TPMultiImage image;
    int clicks = 0, doubles = 0, presses = 0;
    QObject::connect(&image, &TPMultiImage::OnClick, [&] { ++clicks; });
    QObject::connect(&image, &TPMultiImage::OnDblClick, [&] { ++doubles; });
    QObject::connect(&image, &TPMultiImage::OnMouseDown, [&](QMouseEvent *) { ++presses; });
    QTest::mouseClick(&image, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseClick(&image, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks, 1);
    QTest::mousePress(&image, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&image, Qt::LeftButton, {}, QPoint(200, 10));  // released outside
    EXPECT_EQ(clicks, 1);
    QTest::mouseDClick(&image, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(clicks, 1) << "the second press of a double click is no click";
    EXPECT_EQ(presses, 4);
}
