// Times the player where a viewer waits: from a key press to the slide on screen,
// for the next slide and for a jump (previous, first, last), on 12-megapixel JPEGs
// and 24-bit BMPs, on a 1920 x 1080 screen. Each slide has been on screen for a
// second before the key, as in a show. Prints the median of each, per format;
// the last line gives the worse format of each.
#include "Moteur.h"
#include "TMultiP.h"
#include "config_sli.h"
#include "fichier_sli.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>

namespace {

double mediane(QList<double> mesures)
{
    std::sort(mesures.begin(), mesures.end());
    return mesures[mesures.size() / 2];
}

QImage photo(int graine)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient ciel(0, 0, 0, 3000);
    ciel.setColorAt(0, QColor(40, 60, 160 + graine));
    ciel.setColorAt(1, QColor(250, 180, 90));
    p.fillRect(image.rect(), ciel);
    QRandomGenerator hasard(graine);
    for (int i = 0; i < 4000; ++i)
        p.fillRect(hasard.bounded(4000), hasard.bounded(3000), 40, 40,
                   QColor::fromRgb(hasard.generate() | 0xFF000000u));
    return image;
}

struct Temps {
    double suivante;
    double saut;
};

Temps mesure(const QString &dossier, const char *format, const char *extension)
{
    constexpr int n = 5;
    const QString sli = QStringLiteral("%1/%2.sli").arg(dossier, QLatin1String(extension));
    ouvre_fichier_sli(sli);
    for (int k = 1; k <= n; ++k) {
        const QString image = QStringLiteral("%1/P%2.%3").arg(dossier).arg(k).arg(QLatin1String(extension));
        photo(k).save(image, format, 90);
        ajoute_fiche();
        fiche.chemin_image.affecte(image);
        fiche.commentaire.affecte(QStringLiteral("Diapositive %1").arg(k));
        ecrit_fiche(k);
    }
    reglages = {1, 1, 5};
    Tlance_diaporama joueur;
    joueur.premiere_activation = true;
    joueur.show();
    // The first slide, read the ordinary way (nothing read ahead yet), for comparison.
    QElapsedTimer froid;
    froid.start();
    joueur.FormActivate();
    const double premiere = froid.nsecsElapsed() / 1e6;
    QTest::qWait(1500);

    QList<double> suivantes, sauts;
    const auto appuie = [&](Qt::Key touche, QList<double> &mesures) {
        QElapsedTimer chrono;
        chrono.start();
        QTest::keyClick(&joueur, touche);
        QCoreApplication::processEvents();
        mesures << chrono.nsecsElapsed() / 1e6;
        QTest::qWait(1000);
    };
    for (int tour = 0; tour < 2; ++tour) {
        appuie(Qt::Key_Right, suivantes);
        appuie(Qt::Key_Right, suivantes);
        appuie(Qt::Key_Left, sauts);
        appuie(Qt::Key_End, sauts);
        appuie(Qt::Key_Right, suivantes);  // from the last to the first
        appuie(Qt::Key_End, sauts);
        appuie(Qt::Key_Home, sauts);
        appuie(Qt::Key_Left, sauts);  // from the first to the last
    }
    // A 4000 x 3000 photo is shown whole: fitted to the screen's height.
    if (joueur.diapositive->Picture().size() != QSize(1440, 1080))
        std::fprintf(stderr, "picture not fitted to the screen\n");
    joueur.sortirClick();
    ferme_fichier_sli();
    const Temps t{mediane(suivantes), mediane(sauts)};
    std::printf("%s: next slide %.0f ms, jump %.0f ms (median; worst %.0f and %.0f); "
                "first slide, not read ahead: %.0f ms\n",
                extension, t.suivante, t.saut, *std::max_element(suivantes.begin(), suivantes.end()),
                *std::max_element(sauts.begin(), sauts.end()), premiere);
    std::fflush(stdout);
    return t;
}

}  // namespace

int main(int argc, char **argv)
{
    QTemporaryDir dossier;
    const QString ecran = dossier.filePath(QStringLiteral("ecran.json"));
    {
        QFile f(ecran);
        f.open(QIODevice::WriteOnly);
        f.write(R"({"screens":[{"name":"bench","x":0,"y":0,"width":1920,"height":1080,)"
                R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
    }
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + ecran.toLocal8Bit());
    QApplication app(argc, argv);
    QDir::setCurrent(dossier.path());
    const Temps jpeg = mesure(dossier.path(), "JPEG", "JPG");
    const Temps bmp = mesure(dossier.path(), "BMP", "BMP");
    std::printf("next slide: %.0f ms; jump: %.0f ms\n", std::max(jpeg.suivante, bmp.suivante),
                std::max(jpeg.saut, bmp.saut));
    return 0;
}
