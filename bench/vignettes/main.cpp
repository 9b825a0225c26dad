// Times the contact sheet where a user waits: a page of twelve 12-megapixel JPEGs
// filled on its first visit (the thumbnail cache empty), then again in a fresh
// process (the cache filled, nothing kept in memory). Prints the median of five runs.
#include "Fgauge.h"
#include "banc.h"
#include "Fplanche.h"
#include "Info.h"
#include "TMultiP.h"
#include "fichier_sli.h"
#include "imagefile.h"
#include "progression.h"
#include "service_lecture.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QThreadPool>
#include <QTemporaryDir>
#include <cstdio>

namespace {

const char *const ENCORE = "--encore";

int vignettes_en_cache(const QString &cache)
{
    int n = 0;
    for (QDirIterator it(cache, {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();
         it.next())
        ++n;
    return n;
}

// The median time of a page of the sheet over BANC.SLI in `dossier`, each visit
// after `avant`; negative when the page is not what it should be.
double page(const QString &dossier, const std::function<void()> &avant)
{
    ouvre_fichier_sli(QDir(dossier).filePath(QStringLiteral("BANC.SLI")));
    Tjauge jauge;
    Tinfo_diapo info;
    TPlanche planche(&info, &jauge);
    planche.show();
    QList<double> pages;
    for (int essai = 0; essai < 5; ++essai) {
        avant();
        QElapsedTimer chrono;
        chrono.start();
        planche.affiche_planche();
        pages << chrono.nsecsElapsed() / 1e6;
        if (planche.image[12]->InfoWidth != 4000 || planche.image[12]->Picture().size() != QSize(256, 192)) {
            std::fprintf(stderr, "slot 12: %d wide, thumbnail %dx%d\n", planche.image[12]->InfoWidth,
                         planche.image[12]->Picture().width(), planche.image[12]->Picture().height());
            return -1;
        }
    }
    ferme_fichier_sli();
    return banc::mediane(pages);
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && qstrcmp(argv[1], ENCORE) == 0) {
        const QString dossier = QString::fromLocal8Bit(argv[2]);
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        ProgressCallback = progression;
        const QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
        const double encore = page(dossier, [] {});
        // Every thumbnail came from the cache: none was added.
        std::printf("%.1f\n", vignettes_en_cache(cache) == 12 ? encore : -1.0);
        return 0;
    }

    QTemporaryDir dossier;
    banc::hors_ecran(dossier);
    const QString cache = dossier.filePath(QStringLiteral("cache"));
    qputenv("XDG_CACHE_HOME", cache.toLocal8Bit());
    QApplication app(argc, argv);
    QDir::setCurrent(dossier.path());
    ProgressCallback = progression;

    QStringList photos;
    banc::photo(1).save(dossier.filePath("PHOTO00.JPG"), "JPEG", 90);
    for (int k = 0; k < 12; ++k) {
        photos << dossier.filePath(QStringLiteral("PHOTO%1.JPG").arg(k, 2, 10, QLatin1Char('0')));
        if (k > 0)
            QFile::copy(photos.first(), photos.last());
    }
    ouvre_fichier_sli(dossier.filePath("BANC.SLI"));
    for (const QString &chemin : photos) {
        const int k = ajoute_fiche();
        fiche.chemin_image.affecte(chemin);
        ecrit_fiche(k);
    }
    ferme_fichier_sli();

    // The thumbnails are kept in the cache once the page is filled: that of the run before is done first.
    const auto vide_le_cache = [&cache] {
        ServiceLecture::reservoir().waitForDone();
        QDir(cache).removeRecursively();
    };
    const double premiere = page(dossier.path(), vide_le_cache);
    ServiceLecture::reservoir().waitForDone();
    if (premiere < 0 || vignettes_en_cache(cache) != 12) {
        std::fprintf(stderr, "first visit: %s, %d thumbnails in the cache\n", premiere < 0 ? "wrong page" : "done",
                     vignettes_en_cache(cache));
        return 1;
    }

    QProcess encore;
    encore.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(ENCORE), dossier.path()});
    if (!encore.waitForFinished(120000) || encore.exitCode() != 0) {
        std::fprintf(stderr, "second visit: %s\n", encore.readAllStandardError().constData());
        return 1;
    }
    bool nombre = false;
    const double revue = QString::fromLocal8Bit(encore.readAllStandardOutput()).trimmed().toDouble(&nombre);
    if (!nombre || revue < 0) {
        std::fprintf(stderr, "second visit: a wrong page, or thumbnails added to the cache\n");
        return 1;
    }
    std::printf("first visit: %.0f ms; again: %.0f ms\n", premiere, revue);
    return 0;
}
