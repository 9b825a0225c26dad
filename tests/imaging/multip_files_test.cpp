// The image control with the file operations: loading by extension, saving in
// six formats with their options, information, resources, flip and mirror, scan.
#include "TMultiP.h"
#include "multip_support.h"

#include "script_systeme.h"
#include "ecran.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// A photograph-like picture: smooth colours, so that JPEG quality shows in the size.
QImage Photo(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, QColor((x * 255) / width, (y * 255) / height, (x * y) % 256));
    return image;
}

class Files : public ::testing::Test {
protected:
    void TearDown() override { ProgressCallback = nullptr; }

    QString path(const char *name) const { return folder.chemin(QLatin1String(name)); }

    DossierTemporaire folder;
    ScriptSysteme boxes;
    TPMultiImage image;
};

}  // namespace

TEST_F(Files, EachFormatIsSavedAndLoadedBack)
{
    const struct {
        const char *name;
        bool (TPMultiImage::*save)(const QString &);
        const char *type;
    } formats[] = {
        {"photo.bmp", &TPMultiImage::SaveAsBmp, "BMP"},  {"photo.png", &TPMultiImage::SaveAsPng, "PNG"},
        {"photo.jpg", &TPMultiImage::SaveAsJpeg, "JPEG"}, {"photo.gif", &TPMultiImage::SaveAsGif, "GIF"},
        {"photo.tif", &TPMultiImage::SaveAsTif, "TIFF"},  {"photo.pcx", &TPMultiImage::SaveAsPcx, "PCX"},
    };
    for (const auto &format : formats) {
        image.setPicture(TPicture::fromBitmap(Photo(64, 48)));
        ASSERT_TRUE((image.*format.save)(path(format.name))) << format.name;
        EXPECT_EQ(image.DefSaveFilename(), path(format.name));
        image.setPicture(TPicture());
        image.setImageName(path(format.name));
        EXPECT_EQ(image.ImageName(), path(format.name).toUpper());
        EXPECT_EQ(image.Picture().kind(), TPicture::Kind::Bitmap) << format.name;
        EXPECT_EQ(image.Picture().size(), QSize(64, 48)) << format.name;
        EXPECT_EQ(image.InfoType, QLatin1String(format.type));
        EXPECT_EQ(image.InfoWidth, 64);
        EXPECT_EQ(image.InfoHeight, 48);
        EXPECT_EQ(image.InfoFileSize, QFileInfo(path(format.name)).size());
    }
    EXPECT_TRUE(boxes.boites.isEmpty()) << boxes.textes_boites().join(QLatin1Char('|')).toStdString();
}

TEST_F(Files, APictureReadInPartIsShownWithItsFailureAndNeverWritten)
{
    image.setPicture(TPicture::fromBitmap(Photo(200, 150)));
    ASSERT_TRUE(image.SaveAsJpeg(path("whole.jpg")));
    QFile::copy(path("whole.jpg"), path("cut.jpg"));
    QFile cut(path("cut.jpg"));
    ASSERT_TRUE(cut.resize(cut.size() / 2));

    image.setImageName(path("cut.jpg"));
    const QString failure = FailureWithFile(sky::Truncated, path("cut.jpg"));
    EXPECT_EQ(image.ReadFailure(), failure);
    EXPECT_EQ(image.Picture().size(), QSize(200, 150));
    boxes.boites.clear();
    image.MirrorImage();
    EXPECT_EQ(image.Picture().readFailure(), failure);
    EXPECT_FALSE(image.SaveAsPng(path("cut.png")));
    EXPECT_FALSE(QFileInfo::exists(path("cut.png")));
    ASSERT_EQ(boxes.boites.size(), 1);
    EXPECT_TRUE(boxes.boites[0].texte.startsWith(failure + QLatin1Char('\n')));

    image.setImageName(path("whole.jpg"));
    EXPECT_TRUE(image.ReadFailure().isEmpty());
    EXPECT_TRUE(image.SaveAsPng(path("whole.png")));
}

TEST_F(Files, AReadingPastHalfASecondShowsTheBusyCursorUntilItEnds)
{
    image.setPicture(TPicture::fromBitmap(Photo(200, 150)));
    ASSERT_TRUE(image.SaveAsJpeg(path("slow.jpg")));
    QList<bool> busy;
    ProgressCallback = [&](int) {
        if (busy.isEmpty())
            QThread::msleep(600);
        busy.append(QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        return 1;
    };
    image.setImageName(path("slow.jpg"));
    ASSERT_GE(busy.size(), 3);
    EXPECT_FALSE(busy.first());
    EXPECT_TRUE(busy.last());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Files, SavingWithoutANameWritesTheDefaultName)
{
    image.setPicture(TPicture::fromBitmap(Photo(20, 10)));
    image.setDefSaveFilename(path("defaut.png"));
    ASSERT_TRUE(image.SaveAsPng());
    EXPECT_TRUE(QFileInfo::exists(path("defaut.png")));
    ASSERT_TRUE(image.SaveAsBmp(path("autre.bmp")));
    EXPECT_EQ(image.DefSaveFilename(), path("autre.bmp"));
    QFile::remove(path("autre.bmp"));
    ASSERT_TRUE(image.SaveAsBmp());
    EXPECT_TRUE(QFileInfo::exists(path("autre.bmp")));
}

TEST_F(Files, WriteOptionsReachTheFile)
{
    image.setPicture(TPicture::fromBitmap(Photo(120, 90)));
    image.setJPegSaveQuality(10);
    image.SaveAsJpeg(path("basse.jpg"));
    image.setJPegSaveQuality(95);
    image.SaveAsJpeg(path("haute.jpg"));
    EXPECT_LT(QFileInfo(path("basse.jpg")).size() * 2, QFileInfo(path("haute.jpg")).size());

    image.setImageWriteRes(sJpegGray);
    image.SaveAsJpeg(path("gris.jpg"));
    image.SaveAsBmp(path("gris.bmp"));
    image.setImageWriteRes(sColor16);
    image.SaveAsBmp(path("seize.bmp"));
    image.setTifSaveCompress(sLZW);
    image.SaveAsTif(path("lzw.tif"));
    image.setPNGInterLaced(true);
    image.SaveAsPng(path("entrelace.png"));

    image.ReadImageInfo(path("gris.jpg"));
    EXPECT_EQ(image.InfoBitsPerPixel, 8);  // one grey channel
    image.ReadImageInfo(path("gris.bmp"));
    EXPECT_EQ(image.InfoBitsPerPixel, 8);
    image.ReadImageInfo(path("seize.bmp"));
    EXPECT_EQ(image.InfoBitsPerPixel, 4);
    image.ReadImageInfo(path("lzw.tif"));
    EXPECT_EQ(image.InfoCompression, QStringLiteral("LZW"));
    image.ReadImageInfo(path("entrelace.png"));
    EXPECT_EQ(image.InfoCompression, QStringLiteral("Deflate interlaced"));
    EXPECT_TRUE(boxes.boites.isEmpty());
}

TEST_F(Files, ReadDepthFollowsImageReadRes)
{
    image.setPicture(TPicture::fromBitmap(Photo(30, 20)));
    image.SaveAsBmp(path("photo.bmp"));
    image.setImageReadRes(lMonoChrome);
    image.setImageName(path("photo.bmp"));
    EXPECT_EQ(image.Picture().image().depth(), 1);
    image.setImageReadRes(lColor256);
    image.setImageName(path("photo.bmp"));
    EXPECT_EQ(image.Picture().image().format(), QImage::Format_Indexed8);
}

TEST_F(Files, FailedWritesAndReadsAreReportedTwice)
{
    image.setPicture(TPicture::fromBitmap(Photo(20, 10)));
    EXPECT_FALSE(image.SaveAsGif(path("absent/dossier.gif")));
    ASSERT_EQ(boxes.boites.size(), 2);
    EXPECT_EQ(boxes.boites[0].type, systeme::TypeBoite::Erreur);  // the library's own text
    EXPECT_EQ(boxes.boites[1].type, systeme::TypeBoite::Information);
    EXPECT_EQ(boxes.boites[1].texte, QStringLiteral("Writing gif file failed"));

    boxes.boites.clear();
    QFile damaged(path("abime.jpg"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("ceci n'est pas une photo");
    damaged.close();
    image.setImageName(path("abime.jpg"));
    EXPECT_TRUE(image.Picture().isEmpty());
    EXPECT_EQ(image.ImageName(), path("abime.jpg").toUpper());
    ASSERT_GE(boxes.boites.size(), 2);
    EXPECT_EQ(boxes.boites[0].type, systeme::TypeBoite::Erreur);
    EXPECT_EQ(boxes.boites[1].texte, QStringLiteral("Reading jpg file failed"));
}

TEST_F(Files, AResourcePathNeedsNoFile)
{
    image.setImageName(path("LOGO.RES"));
    ASSERT_EQ(image.Picture().size(), QSize(8, 2));
    EXPECT_EQ(image.ImageName(), path("LOGO.RES").toUpper());
    EXPECT_EQ(image.InfoType, QStringLiteral("RES"));
    EXPECT_EQ(image.InfoCompression, QStringLiteral("BMP"));
    EXPECT_EQ(image.InfoWidth, 8);
    EXPECT_EQ(image.InfoFileSize, DibByteSize(image.Picture().image()));

    image.setImageName(QStringLiteral("C:\\IMAGES\\101.RES"));
    EXPECT_EQ(image.Picture().size(), QSize(4, 2));
    EXPECT_TRUE(boxes.boites.isEmpty());

    image.setImageName(path("INCONNU.RES"));
    EXPECT_TRUE(image.Picture().isEmpty());
    ASSERT_EQ(boxes.boites.size(), 1);
    EXPECT_EQ(boxes.boites[0].texte, QStringLiteral("Reading resource file failed"));
}

TEST_F(Files, ALargePhotoIsDecodedOnce)
{
    image.setPicture(TPicture::fromBitmap(Photo(1600, 1200)));
    image.SaveAsJpeg(path("grande.jpg"));
    QList<int> reported;
    ProgressCallback = [&](int percent) {
        reported << percent;
        return 1;
    };
    image.setStretch(true);
    image.setImageName(path("grande.jpg"));
    image.grab();
    ASSERT_FALSE(reported.isEmpty());
    EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()))
        << "a second pass would start again from the beginning";
    EXPECT_EQ(reported.back(), 100);
    EXPECT_EQ(image.InfoWidth, 1600);
}

TEST_F(Files, FlipAndMirrorThroughTheLibrary)
{
    QImage picture(5, 4, QImage::Format_RGB888);
    picture.fill(Qt::white);
    picture.setPixelColor(0, 0, Qt::red);
    image.setPicture(TPicture::fromBitmap(picture));
    image.FlipImage();
    EXPECT_EQ(image.Picture().image().pixelColor(0, 3), QColor(Qt::red));
    image.MirrorImage();
    EXPECT_EQ(image.Picture().image().pixelColor(4, 3), QColor(Qt::red));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(boxes.boites.isEmpty());

    // Nothing to turn: the library says so under the busy cursor; the picture stays
    // empty and the cursor comes back.
    QList<Qt::CursorShape> cursors;
    systeme::seams().boite = [&](const systeme::Boite &boite) {
        boxes.boites << boite;
        const QCursor *cursor = QApplication::overrideCursor();
        cursors << (cursor ? cursor->shape() : Qt::ArrowCursor);
        return int(systeme::OK);
    };
    image.setPicture(TPicture());
    image.FlipImage();
    EXPECT_TRUE(image.Picture().isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_EQ(boxes.boites.size(), 1);
    EXPECT_EQ(boxes.boites[0].type, systeme::TypeBoite::Erreur);
    EXPECT_EQ(cursors, QList<Qt::CursorShape>({Qt::WaitCursor}));
}

TEST_F(Files, CaptureTakesTheWindowAsShown)
{
    TPMultiImage source;
    source.resize(40, 30);
    source.setColor(Qt::darkMagenta);
    image.CaptureWindow(&source);
    ASSERT_EQ(image.Picture().size(), QSize(40, 30));
    EXPECT_EQ(image.Picture().image().pixelColor(20, 15), QColor(Qt::darkMagenta));
}

TEST_F(Files, AScanThatCannotRunSaysSoAndLeavesNoPicture)
{
    image.setPicture(TPicture::fromBitmap(Photo(10, 10)));
    ScanBusy = true;  // another scanner call in progress: refused without the library
    EXPECT_FALSE(image.ScanImage(nullptr));
    ScanBusy = false;
    EXPECT_TRUE(image.Picture().isEmpty());
    ASSERT_EQ(boxes.boites.size(), 1);
    EXPECT_EQ(boxes.boites[0].texte, QStringLiteral("Scanning Image Failed"));
}
