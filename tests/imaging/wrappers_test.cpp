// The library wrappers: argument orders, depths, progress and the yes/no result.
#include "gris.h"
#include "TMultiP.h"
#include "imagefile.h"
#include "service_lecture.h"
#include "photo_tournee.h"
#include "sky.h"

#include "script_systeme.h"
#include "ecran.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

namespace {

// A picture with a gradient, so that depths and qualities make a difference.
BitmapObject gradient()
{
    BitmapObject b;
    b.bitmap = QImage(64, 48, QImage::Format_RGB888);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            b.bitmap.setPixel(x, y, qRgb(x * 4, y * 5, 255 - x * 2));
    return b;
}

class Wrappers : public ::testing::Test {
protected:
    void TearDown() override { ProgressCallback = nullptr; }
    DossierTemporaire dossier;
    ScriptSysteme script;
};

}  // namespace

TEST_F(Wrappers, BmpAndPcxRoundTripsAtTheAskedDepths)
{
    BitmapObject source = gradient();
    ASSERT_TRUE(WriteBmpFile(dossier.chemin("v.bmp"), 24, source));
    ASSERT_TRUE(WritePcxFile(dossier.chemin("v.pcx"), 8, source));

    BitmapObject read;
    ASSERT_TRUE(ReadBmpFile(dossier.chemin("v.bmp"), 24, false, read));
    EXPECT_EQ(read.bitmap.format(), QImage::Format_RGB888);
    EXPECT_EQ(read.bitmap.pixel(10, 20), source.bitmap.pixel(10, 20));

    ASSERT_TRUE(ReadPcxFile(dossier.chemin("v.pcx"), 4, true, read));
    EXPECT_EQ(read.bitmap.size(), QSize(64, 48));
    EXPECT_LE(read.palette().size(), 16);
    ASSERT_TRUE(ReadPcxFile(dossier.chemin("v.pcx"), 1, false, read));
    EXPECT_EQ(read.bitmap.format(), QImage::Format_Mono);
    EXPECT_TRUE(script.boites.isEmpty());
}

TEST_F(Wrappers, JpegQualityComesBeforeSmoothingAndDepthOneIsGreyscale)
{
    BitmapObject source = gradient();
    ASSERT_TRUE(WriteJpegFile(dossier.chemin("bas.jpg"), 5, 0, 24, source));
    ASSERT_TRUE(WriteJpegFile(dossier.chemin("haut.jpg"), 95, 0, 24, source));
    EXPECT_LT(QFileInfo(dossier.chemin("bas.jpg")).size(),
              QFileInfo(dossier.chemin("haut.jpg")).size());

    ASSERT_TRUE(WriteJpegFile(dossier.chemin("gris.jpg"), 75, 0, 1, source));
    BitmapObject read;
    ASSERT_TRUE(ReadJpegFile(dossier.chemin("gris.jpg"), 24, false, read));
    EXPECT_EQ(read.bitmap.size(), QSize(64, 48));  // read at full size
    EXPECT_TRUE(allGrey(read.bitmap));
    ASSERT_TRUE(ReadJpegFile(dossier.chemin("haut.jpg"), 24, false, read));
    EXPECT_FALSE(allGrey(read.bitmap));
    EXPECT_TRUE(script.boites.isEmpty());
}

TEST_F(Wrappers, TheProgressFunctionIsPassedAndMayStop)
{
    BitmapObject source = gradient();
    QList<int> percents;
    ProgressCallback = [&](int percent) {
        percents.append(percent);
        return 1;
    };
    ASSERT_TRUE(WriteBmpFile(dossier.chemin("suivi.bmp"), 24, source));
    ASSERT_FALSE(percents.isEmpty());
    EXPECT_EQ(percents.last(), 100);

    ProgressCallback = [](int) { return 0; };
    EXPECT_FALSE(WriteBmpFile(dossier.chemin("arret.bmp"), 24, source));
    EXPECT_FALSE(QFileInfo::exists(dossier.chemin("arret.bmp")));
    ASSERT_EQ(script.boites.size(), 1);
    EXPECT_EQ(script.boites[0].texte, sky::errorText(sky::Stopped));

    BitmapObject read;
    read.bitmap = QImage(2, 2, QImage::Format_RGB888);
    EXPECT_FALSE(ReadBmpFile(dossier.chemin("suivi.bmp"), 24, false, read));
    EXPECT_TRUE(read.empty());
    EXPECT_EQ(script.boites.size(), 2);
}

TEST_F(Wrappers, WritingAnEmptyBitmapFailsWithTheLibrarysText)
{
    BitmapObject empty;
    EXPECT_FALSE(WriteBmpFile(dossier.chemin("vide.bmp"), 24, empty));
    ASSERT_EQ(script.boites.size(), 1);
    EXPECT_EQ(script.boites[0].type, systeme::TypeBoite::Erreur);
    EXPECT_FALSE(script.boites[0].texte.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dossier.chemin("vide.bmp")));
}

TEST_F(Wrappers, AFailedWriteShowsTheFileItCouldNotWrite)
{
    BitmapObject picture = gradient();
    const QString cible = dossier.chemin("absent/photo.bmp");
    EXPECT_FALSE(WriteBmpFile(cible, 24, picture));
    ASSERT_EQ(script.boites.size(), 1);
    EXPECT_TRUE(script.boites[0].texte.startsWith(sky::errorText(sky::CannotCreate)));
    EXPECT_TRUE(script.boites[0].texte.contains(cible));
}

TEST_F(Wrappers, PngGifAndTiffSettingsReachTheirFiles)
{
    BitmapObject source = gradient();
    ASSERT_TRUE(WritePngFile(dossier.chemin("entrelace.png"), 24, true, source));
    ASSERT_TRUE(WritePngFile(dossier.chemin("palette.png"), 8, false, source));
    ASSERT_TRUE(WriteGifFile(dossier.chemin("v.gif"), WriteDepth(sColorTrue, sky::Format::Gif, 24), source));
    ASSERT_TRUE(WriteTifFile(dossier.chemin("lzw.tif"), TiffCompressionCode(sLZW), 24, source));
    ASSERT_TRUE(WriteTifFile(dossier.chemin("brut.tif"), TiffCompressionCode(sNONE), 4, source));

    struct Expected { const char *file, *type; int bits; const char *compression; };
    const Expected expected[] = {
        {"entrelace.png", "PNG", 24, "Deflate interlaced"}, {"palette.png", "PNG", 8, "Deflate"},
        {"v.gif", "GIF", 8, "LZW"}, {"lzw.tif", "TIFF", 24, "LZW"}, {"brut.tif", "TIFF", 4, "None"},
    };
    for (const Expected &e : expected) {
        QString type, compression;
        int width = 0, height = 0, bits = 0, density = 0, colors = 0;
        ASSERT_TRUE(GetImageFileInfo(dossier.chemin(e.file), type, width, height, bits, density,
                                     colors, compression))
            << e.file;
        EXPECT_EQ(type, QLatin1String(e.type)) << e.file;
        EXPECT_EQ(QSize(width, height), QSize(64, 48)) << e.file;
        EXPECT_EQ(bits, e.bits) << e.file;
        EXPECT_EQ(compression, QLatin1String(e.compression)) << e.file;
    }

    BitmapObject read;
    ASSERT_TRUE(ReadTifFile(dossier.chemin("lzw.tif"), 24, false, read));
    EXPECT_EQ(read.bitmap.pixel(33, 17), source.bitmap.pixel(33, 17));
    ASSERT_TRUE(ReadPngFile(dossier.chemin("entrelace.png"), 24, false, read));
    EXPECT_EQ(read.bitmap.pixel(5, 40), source.bitmap.pixel(5, 40));
    ASSERT_TRUE(ReadGifFile(dossier.chemin("v.gif"), 0, false, read));
    EXPECT_LE(read.palette().size(), 16);
    EXPECT_TRUE(script.boites.isEmpty());

    QString type, compression;
    int width = 0, height = 0, bits = 0, density = 0, colors = 0;
    EXPECT_FALSE(GetImageFileInfo(dossier.chemin("absent.png"), type, width, height, bits, density,
                                  colors, compression));
    ASSERT_EQ(script.boites.size(), 1);
    EXPECT_EQ(script.boites[0].texte, sky::errorText(sky::FileNotFound));
}

TEST_F(Wrappers, MirrorAndFlipInPlace)
{
    BitmapObject b;
    b.bitmap = QImage(2, 2, QImage::Format_RGB888);
    b.bitmap.setPixel(0, 0, qRgb(255, 0, 0));
    b.bitmap.setPixel(1, 0, qRgb(0, 255, 0));
    b.bitmap.setPixel(0, 1, qRgb(0, 0, 255));
    b.bitmap.setPixel(1, 1, qRgb(255, 255, 255));
    ASSERT_TRUE(MirrorBitmap(b));
    EXPECT_EQ(b.bitmap.pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_EQ(b.bitmap.pixel(0, 1), qRgb(255, 255, 255));
    ASSERT_TRUE(FlipBitmap(b));
    EXPECT_EQ(b.bitmap.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(b.bitmap.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_TRUE(script.boites.isEmpty());

    BitmapObject empty;
    EXPECT_FALSE(FlipBitmap(empty));
    ASSERT_EQ(script.boites.size(), 1);
    EXPECT_EQ(script.boites[0].texte, sky::errorText(sky::EmptyPicture));
}

// The contact sheet's thumbnails of a photo stored turned come upright, read ahead or not.
TEST_F(Wrappers, ReducedJpegOfATurnedPhotoIsUpright)
{
    ASSERT_TRUE(ecrit_photo_tournee(dossier.chemin("tournee.jpg"), 6));
    // A wide box: the upright picture, taller than wide, is decoded at a quarter.
    const QSize zone(24, 12);
    BitmapObject lue;
    ASSERT_TRUE(ReadJpegFileReduced(dossier.chemin("tournee.jpg"), 24, false, zone, lue));
    EXPECT_EQ(lue.bitmap.size(), QSize(kHauteurStockee, kLargeurStockee) / 4);
    EXPECT_EQ(coin_de(lue.bitmap, QColor(230, 0, 0)), 1);
    EXPECT_EQ(coin_de(lue.bitmap, QColor(0, 210, 0)), 2);
}

// The control takes the picture its read-ahead service prepared instead of calling the
// library again (the library's progress is then only told the end); a picture that
// fails ahead is read again in place, and its failure reported once.
TEST_F(Wrappers, AThumbnailPreparedAheadIsTheOneShown)
{
    BitmapObject source;
    source.bitmap = gradient().bitmap.scaled(1200, 900);
    ASSERT_TRUE(WriteJpegFile(dossier.chemin("grande.jpg"), 90, 0, 24, source));
    QFile faux(dossier.chemin("faux.jpg"));
    ASSERT_TRUE(faux.open(QIODevice::WriteOnly));
    faux.write(QByteArray(500, 'x'));
    faux.close();
    ServiceLecture service;
    TPMultiImage vignette;
    vignette.setReadReduction(QSize(145, 110));
    vignette.setReadAhead(&service);
    QList<int> progres;
    ProgressCallback = [&](int pourcentage) {
        progres << pourcentage;
        return 1;
    };

    vignette.PrefetchImageName(dossier.chemin("grande.jpg"));
    vignette.PrefetchImageName(dossier.chemin("faux.jpg"));
    service.attend();
    vignette.setImageName(dossier.chemin("grande.jpg"));
    EXPECT_EQ(progres, QList<int>{100});
    const QImage ahead = vignette.Picture().image();
    EXPECT_EQ(ahead.size(), QSize(150, 113));
    progres.clear();
    vignette.setImageName(dossier.chemin("grande.jpg"));  // taken once: read by the library now
    EXPECT_GT(progres.size(), 1);
    EXPECT_EQ(vignette.Picture().image(), ahead);

    vignette.setImageName(dossier.chemin("faux.jpg"));
    EXPECT_TRUE(vignette.Picture().isEmpty());
    EXPECT_EQ(script.textes_boites().count("Reading jpg file failed"), 1);
}
