// The desktop's thumbnail cache: which size a zone takes, when an entry serves, how
// it is written.
#include "cache_vignettes.h"
#include "ecran.h"
#include "imagefile.h"
#include "reduction.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <gtest/gtest.h>
#include <latch>
#include <thread>
#include <vector>

namespace {

bool bleue(const QImage &image) { return image.pixel(100, 100) == qRgb(0, 0, 255); }
bool rouge(const QImage &image) { return qRed(image.pixel(100, 100)) > 150 && qBlue(image.pixel(100, 100)) < 100; }

TEST(TailleDeVignette, LaTailleEtLEchelleCouvrentLaZone)
{
    struct Cas {
        QSize zone;
        int taille;
        QSize image;
        int echelle;  // of a JPEG decoded for a thumbnail of `taille`
    };
    for (const Cas &c : {Cas{{129, 60}, 128, {4000, 3000}, 8}, Cas{{145, 110}, 256, {4000, 3000}, 8},
                         Cas{{210, 210}, 256, {1600, 1200}, 4}, Cas{{257, 257}, 256, {3000, 4000}, 8},
                         Cas{{145, 110}, 256, {600, 450}, 2}, Cas{{258, 100}, 0, {300, 200}, 1}}) {
        EXPECT_EQ(cache_vignettes::taille_pour(c.zone), c.taille) << c.zone.width();
        const int cote = c.taille ? c.taille : 256;
        EXPECT_EQ(echelle_de_decodage(c.image, {cote + 1, cote + 1}), c.echelle) << c.image.width();
    }
}

class CacheVignettes : public ::testing::Test {
protected:
    CacheVignettes()
    {
        QImage image(1200, 900, QImage::Format_RGB32);
        image.fill(QColor(200, 40, 40));
        image.save(photo, "JPEG");
    }
    // The picture read for a thumbnail of the sheet (256 pixels).
    QImage lue() const
    {
        QImage out;
        EXPECT_EQ(ReadThumbnailQuietly(sky::Format::Jpeg, photo, {145, 110}, 256, out, {}), sky::Ok);
        return out;
    }
    // An entry of a blue picture kept for `pour`, under the name of the photo's.
    void remplace_par_du_bleu(const QString &pour, const QDateTime &modification) const
    {
        QImage bleu(256, 192, QImage::Format_RGB32);
        bleu.fill(Qt::blue);
        const QString entree = cache_vignettes::chemin_en_cache(racine, photo, 256);
        ASSERT_TRUE(cache_vignettes::range(racine, pour, 256, modification, bleu, {}));
        if (pour != photo) {
            QFile::remove(entree);
            ASSERT_TRUE(QFile::rename(cache_vignettes::chemin_en_cache(racine, pour, 256), entree));
        }
    }
    DossierTemporaire dossier;
    const QString racine = cache_vignettes::racine();
    const QString photo = dossier.chemin(QStringLiteral("photo d'été.jpg"));
};

// The first reading keeps the thumbnail, private to its owner, with the picture's
// URI and modification time; an entry serves while both match the picture.
TEST_F(CacheVignettes, UneEntreeSertTantQuElleDecritLImage)
{
    EXPECT_EQ(lue().size(), QSize(256, 192));
    const QString entree = cache_vignettes::chemin_en_cache(racine, photo, 256);
    EXPECT_TRUE(entree.startsWith(qEnvironmentVariable("XDG_CACHE_HOME") + QStringLiteral("/thumbnails/large/")));
    QImageReader lecteur(entree, "png");
    const QImage gardee = lecteur.read();
    EXPECT_EQ(gardee.size(), QSize(256, 192));
    const QDateTime modification = QFileInfo(photo).lastModified();
    EXPECT_EQ(gardee.text(QStringLiteral("Thumb::URI")),
              QStringLiteral("file://") + dossier.chemin(QStringLiteral("photo%20d'%C3%A9t%C3%A9.jpg")));
    EXPECT_EQ(gardee.text(QStringLiteral("Thumb::MTime")), QString::number(modification.toSecsSinceEpoch()));
    // The owner's rights alone (Qt also tells the current user's, the owner here).
    const auto droits = [](const QString &chemin) {
        return QFile::permissions(chemin) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
    };
    EXPECT_EQ(droits(entree), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(droits(QFileInfo(entree).path()), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(QFileInfo(entree).dir().entryList(QDir::Files).size(), 1);  // no temporary left

    remplace_par_du_bleu(photo, modification);
    EXPECT_TRUE(bleue(lue()));

    // Refused: another file's entry, then an entry of an older state of the picture.
    remplace_par_du_bleu(dossier.chemin(QStringLiteral("autre.jpg")), modification);
    EXPECT_TRUE(rouge(lue()));
    remplace_par_du_bleu(photo, modification);
    QFile fichier(photo);
    ASSERT_TRUE(fichier.open(QIODevice::ReadWrite));
    ASSERT_TRUE(fichier.setFileTime(modification.addSecs(5), QFileDevice::FileModificationTime));
    fichier.close();
    EXPECT_TRUE(rouge(lue()));
    EXPECT_TRUE(rouge(cache_vignettes::trouve(racine, photo, 256, modification.addSecs(5))));  // made anew
}

// Where no cache exists yet, thumbnails kept at the same time all make it: each
// writer may find the folders another has just made.
TEST_F(CacheVignettes, DesVignettesGardeesEnMemeTempsSontToutesGardees)
{
    constexpr int ECRIVAINS = 8;
    QImage vignette(16, 12, QImage::Format_RGB32);
    vignette.fill(Qt::blue);
    for (int essai = 0; essai < 10; ++essai) {
        const QString premiere = dossier.chemin(QStringLiteral("cache%1/").arg(essai));
        std::latch depart(ECRIVAINS);
        std::vector<char> gardees(ECRIVAINS);
        std::vector<std::thread> ecrivains;
        for (int k = 0; k < ECRIVAINS; ++k)
            ecrivains.emplace_back([&, k] {
                const QString image = dossier.chemin(QStringLiteral("image%1.jpg").arg(k));
                depart.arrive_and_wait();
                gardees[size_t(k)] =
                    cache_vignettes::range(premiere, image, 256, QDateTime::currentDateTime(), vignette, {});
            });
        for (std::thread &ecrivain : ecrivains)
            ecrivain.join();
        EXPECT_EQ(std::count(gardees.begin(), gardees.end(), 1), ECRIVAINS) << essai;
    }
}

}  // namespace
