// The library wrappers: argument orders, depths, progress and the yes/no result.
#include "imagefile.h"
#include "sky.h"

#include "boites.h"
#include "ecran.h"

#include <gtest/gtest.h>

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

bool allGrey(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p))
                return false;
        }
    return true;
}

class Wrappers : public ::testing::Test {
protected:
    void TearDown() override { ProgressCallback = nullptr; }
    DossierTemporaire dossier;
    BoitesVues boites;
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
    EXPECT_TRUE(boites.liste.isEmpty());
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
    EXPECT_TRUE(boites.liste.isEmpty());
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
    ASSERT_EQ(boites.liste.size(), 1);
    EXPECT_EQ(boites.liste[0].texte, sky::errorText(sky::Stopped));

    BitmapObject read;
    read.bitmap = QImage(2, 2, QImage::Format_RGB888);
    EXPECT_FALSE(ReadBmpFile(dossier.chemin("suivi.bmp"), 24, false, read));
    EXPECT_TRUE(read.empty());
    EXPECT_EQ(boites.liste.size(), 2);
}

TEST_F(Wrappers, WritingAnEmptyBitmapFailsWithTheLibrarysText)
{
    BitmapObject empty;
    EXPECT_FALSE(WriteBmpFile(dossier.chemin("vide.bmp"), 24, empty));
    ASSERT_EQ(boites.liste.size(), 1);
    EXPECT_EQ(boites.liste[0].type, systeme::TypeBoite::Erreur);
    EXPECT_FALSE(boites.liste[0].texte.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dossier.chemin("vide.bmp")));
}
