// Photos stored turned (EXIF orientation) read upright on every path, converted
// upright, turned without loss into what was shown; information gives the stored size.
#include "convert.h"
#include "ecran.h"
#include "jpegflip.h"
#include "photo_tournee.h"
#include "sky.h"

#include <gtest/gtest.h>

using namespace sky;

namespace {

const QColor kRouge(230, 0, 0);
const QColor kVert(0, 210, 0);

QSize tailleDroite(const CoinsDroits &cas, int echelle = 1)
{
    const QSize stockee(kLargeurStockee / echelle, kHauteurStockee / echelle);
    return cas.tournee ? stockee.transposed() : stockee;
}

QByteArray contenu(const QString &chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(Orientation, ReadUprightAtEveryScaleWithTheStoredSizeInInformation)
{
    DossierTemporaire dir;
    for (const CoinsDroits &cas : kCoinsDroits) {
        SCOPED_TRACE(cas.orientation);
        const QString chemin = dir.chemin(QStringLiteral("o%1.jpg").arg(cas.orientation));
        ASSERT_TRUE(ecrit_photo_tournee(chemin, cas.orientation));
        for (const int echelle : {1, 2}) {
            QImage image;
            ASSERT_EQ(Ok, readJpeg(chemin, 24, echelle, false, image, {}));
            EXPECT_EQ(tailleDroite(cas, echelle), image.size());
            EXPECT_EQ(cas.rouge, coin_de(image, kRouge));
            EXPECT_EQ(cas.vert, coin_de(image, kVert));
        }
        FileInfo info;
        ASSERT_EQ(Ok, fileInfo(chemin, info));
        EXPECT_EQ(QSize(kLargeurStockee, kHauteurStockee), QSize(info.width, info.height));
        EXPECT_EQ(cas.orientation, info.orientation);
    }
}

TEST(Orientation, ConversionWritesTheBitmapUpright)
{
    DossierTemporaire dir;
    ASSERT_TRUE(ecrit_photo_tournee(dir.chemin("phone.jpg"), 6));
    QString sortie, erreurs;
    QTextStream out(&sortie), err(&erreurs);
    ASSERT_EQ(0, runConvert({"--format", "bmp", "--dest", dir.chemin(), dir.chemin("phone.jpg")}, out, err));
    QImage image;
    ASSERT_EQ(Ok, readBmp(dir.chemin("PHONE.BMP"), 24, false, image, {}));
    EXPECT_EQ(QSize(kHauteurStockee, kLargeurStockee), image.size());
    EXPECT_EQ(1, coin_de(image, kRouge));
    EXPECT_EQ(2, coin_de(image, kVert));
}

TEST(Orientation, ALosslessTurnGivesWhatWasShownAndClearsTheTag)
{
    DossierTemporaire dir;
    const int miroir[4] = {1, 0, 3, 2};
    const int retourne[4] = {3, 2, 1, 0};
    for (const CoinsDroits &cas : kCoinsDroits) {
        SCOPED_TRACE(cas.orientation);
        const QString chemin = dir.chemin("t.jpg");
        ASSERT_TRUE(ecrit_photo_tournee(chemin, cas.orientation));
        for (const bool flip : {false, true}) {
            QByteArray tourne;
            ASSERT_TRUE(transformJpeg(contenu(chemin), flip, !flip, tourne));
            QFile f(dir.chemin("r.jpg"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(tourne) == tourne.size());
            f.close();
            QImage image;
            ASSERT_EQ(Ok, readJpeg(dir.chemin("r.jpg"), 24, 1, false, image, {}));
            const int *apres = flip ? retourne : miroir;
            EXPECT_EQ(tailleDroite(cas), image.size());
            EXPECT_EQ(apres[cas.rouge], coin_de(image, kRouge));
            EXPECT_EQ(apres[cas.vert], coin_de(image, kVert));
            FileInfo info;
            ASSERT_EQ(Ok, fileInfo(dir.chemin("r.jpg"), info));
            EXPECT_EQ(1, info.orientation);
            EXPECT_EQ(tailleDroite(cas), QSize(info.width, info.height));
        }
    }
}
