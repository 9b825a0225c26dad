#include "cache_vignettes.h"
#include "ecran.h"
#include "service_lecture.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTest>
#include <QThreadPool>
#include <gtest/gtest.h>

namespace {

QImage tourne(QImage image, QSize) { return image.transformed(QTransform().rotate(90)); }

class Service : public ::testing::Test {
protected:
    Service() { seul.setMaxThreadCount(1); }
    QString image(const QString &nom, QSize taille, const char *format, QColor couleur = Qt::red) const
    {
        QImage dessin(taille, QImage::Format_RGB32);
        dessin.fill(couleur);
        const QString chemin = dossier.chemin(nom);
        EXPECT_TRUE(dessin.save(chemin, format));
        return chemin;
    }
    DossierTemporaire dossier;
    QThreadPool seul;  // declared before the service: it outlives it
};

// A 12-megapixel reading that is no longer wanted stops soon after: the library's
// progress goes no further than the next report once it is told to stop.
TEST_F(Service, UneLectureQuiNEstPlusVoulueSArrete)
{
    const DemandeLecture demande{.chemin = image("grande.jpg", QSize(4000, 3000), "JPEG"), .tramage = false};
    ServiceLecture service(&seul);
    service.demande(demande);
    const std::shared_ptr<const SuiviLecture> suivi = service.suivi(demande);
    ASSERT_TRUE(suivi);
    ASSERT_TRUE(QTest::qWaitFor([&] { return suivi->pourcentage >= 0; }, 60000));
    service.vide();
    const int a_l_arret = suivi->pourcentage;
    service.attend();
    EXPECT_TRUE(suivi->annulee);
    EXPECT_LE(suivi->pourcentage, a_l_arret + 1);
    EXPECT_LT(suivi->pourcentage, 100);
    EXPECT_TRUE(service.prend(demande, true).isNull());
}

// What is given is the reading asked for: reduced for a JPEG when asked, turned by
// the request's own step, and only as long as the file is unchanged.
TEST_F(Service, ChaqueDemandeRecoitSaLectureTantQueLeFichierNeChangePas)
{
    const QString jpeg = image("p.jpg", QSize(1200, 900), "JPEG");
    const QString bmp = image("p.bmp", QSize(30, 20), "BMP");
    const struct {
        DemandeLecture demande;
        QSize taille;
    } cas[] = {
        {{.chemin = jpeg, .cible = QSize(145, 110), .reduite = true}, QSize(150, 113)},
        {{.chemin = jpeg, .cible = QSize(145, 110)}, QSize(1200, 900)},
        {{.chemin = bmp, .cible = QSize(145, 110), .reduite = true}, QSize(30, 20)},
        {{.chemin = bmp, .profondeur = 8, .apprete = tourne}, QSize(20, 30)},
    };
    ServiceLecture service;
    for (const auto &c : cas)
        service.demande(c.demande);
    service.demande({.chemin = dossier.chemin("absente.png")});
    service.attend();
    EXPECT_EQ(service.lues().size(), 2);
    for (const auto &c : cas)
        EXPECT_EQ(service.prend(c.demande, false).size(), c.taille) << c.demande.chemin.toStdString();
    EXPECT_TRUE(service.prend({.chemin = dossier.chemin("absente.png")}, false).isNull());

    QTest::qWait(20);  // a modification time of its own
    image("p.bmp", QSize(31, 20), "BMP", Qt::blue);
    EXPECT_TRUE(service.prend(cas[2].demande, false).isNull());
    service.demande(cas[2].demande);
    EXPECT_EQ(service.prend(cas[2].demande, true).size(), QSize(31, 20));
    EXPECT_TRUE(service.prend(cas[2].demande, true).isNull());  // given once when asked so
}

// A thumbnail is given first, and kept in the desktop's cache before the wait ends.
TEST_F(Service, UneVignetteEstGardeeDansLeCacheAvantLaFinDeLAttente)
{
    const QString jpeg = image("p.jpg", QSize(1200, 900), "JPEG");
    const DemandeLecture demande{.chemin = jpeg, .cible = QSize(145, 110), .reduite = true, .vignette = 256};
    ServiceLecture service(&seul);
    service.demande(demande);
    EXPECT_EQ(service.prend(demande, true).size(), QSize(256, 192));
    service.attend();
    EXPECT_EQ(cache_vignettes::trouve(cache_vignettes::racine(), jpeg, 256, QFileInfo(jpeg).lastModified()).size(),
              QSize(256, 192));
}

}  // namespace
