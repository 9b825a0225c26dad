// Times the player where a viewer waits: from a key press to the slide on screen,
// for the next slide and for a jump (previous, first, last), on 12-megapixel JPEGs
// and 24-bit BMPs, on a 1920 x 1080 screen. Each slide has been on screen for a
// second before the key, as in a show. Prints the median of each, per format;
// the last line gives the worse format of each.
#include "Moteur.h"
#include "TMultiP.h"
#include "banc.h"
#include "config_sli.h"
#include "fichier_sli.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>

namespace {

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
        banc::photo(quint32(k)).save(image, format, 90);
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
    const Temps t{banc::mediane(suivantes), banc::mediane(sauts)};
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
    banc::hors_ecran(dossier, QSize(1920, 1080));
    QApplication app(argc, argv);
    QDir::setCurrent(dossier.path());
    const Temps jpeg = mesure(dossier.path(), "JPEG", "JPG");
    const Temps bmp = mesure(dossier.path(), "BMP", "BMP");
    std::printf("next slide: %.0f ms; jump: %.0f ms\n", std::max(jpeg.suivante, bmp.suivante),
                std::max(jpeg.saut, bmp.saut));
    return 0;
}
