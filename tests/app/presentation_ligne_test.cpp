// `vistarama --diaporama` on a real X server: the show is the program's whole run.
#include "ecran.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

bool proche(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) <= 24;
}

QRgb pixel_ecran(QScreen *ecran, QPoint p)
{
    const QImage point = ecran->grabWindow(0, p.x(), p.y(), 1, 1).toImage();
    return point.isNull() ? 0 : point.pixel(0, 0);
}

// The first slide as the sample stores it: its picture at its own size in the
// middle of the screen, and its caption's band, in the slide's background
// colour, along the whole bottom edge of the screen. Only those pixels are read
// from the server, so that looking costs the program little.
bool montre_la_premiere_diapo(QScreen *ecran, const QImage &photo)
{
    const QSize taille = ecran->geometry().size();
    const QPoint origine((taille.width() - photo.width()) / 2, (taille.height() - photo.height()) / 2);
    const int m = 12;
    for (const QPoint p : {QPoint(photo.width() / 2, photo.height() / 2), QPoint(m, m), QPoint(photo.width() - m, m),
                           QPoint(m, photo.height() / 2), QPoint(photo.width() - m, photo.height() / 2)})
        if (!proche(pixel_ecran(ecran, origine + p), photo.pixel(p)))
            return false;
    const QRgb bande = qRgb(0x10, 0x1A, 0x40);
    return proche(pixel_ecran(ecran, QPoint(1, taille.height() - 2)), bande) &&
           proche(pixel_ecran(ecran, QPoint(taille.width() - 2, taille.height() - 2)), bande);
}

// The second is the plain build's; the sanitizers' build runs the whole program
// two to three times slower, and there only a show that comes is asked for.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 DELAI_PERMIS = 2500;
#else
constexpr qint64 DELAI_PERMIS = 1000;
#endif

// Run under Xvfb by its own ctest entry; skipped on the offscreen platform.
TEST(PresentationEnLigne, LaPremiereDiapoEstAEcranEnMoinsDUneSecondeEtEchapQuitte)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    DossierTemporaire dossier;
    const QDir exemple(QStringLiteral(VISTA_ASSETS "/demo"));
    for (const QString &nom : exemple.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(exemple.filePath(nom), dossier.chemin(nom)));
    const QImage photo = QImage(dossier.chemin(QStringLiteral("PLAGE.JPG"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(photo.isNull());

    QProcess programme;
    QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment();
    environnement.insert(QStringLiteral("XDG_CONFIG_HOME"), dossier.chemin(QStringLiteral("config")));
    programme.setProcessEnvironment(environnement);
    programme.setWorkingDirectory(dossier.chemin());
    QElapsedTimer horloge;
    horloge.start();
    programme.start(QStringLiteral(VISTA_PROGRAMME), {QStringLiteral("--diaporama"), QStringLiteral("DEMO_KV.SLI")});
    QScreen *ecran = QGuiApplication::primaryScreen();
    bool montree = false;
    while (!montree && horloge.elapsed() < 15000) {
        QTest::qWait(20);
        montree = montre_la_premiere_diapo(ecran, photo);
    }
    const qint64 delai = horloge.elapsed();
    ASSERT_TRUE(montree) << "rien au bout de " << delai << " ms";
    EXPECT_LT(delai, DELAI_PERMIS);
    std::printf("première diapositive à l'écran en %lld ms\n", static_cast<long long>(delai));
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Escape")}), 0);
    ASSERT_TRUE(programme.waitForFinished(10000));
    EXPECT_EQ(programme.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(programme.exitCode(), 0);
}

}  // namespace
