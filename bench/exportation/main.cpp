// Times vistarama-video on a show of twelve 12-megapixel JPEGs, each with a
// three-second sound, five seconds a slide, exported at 1920 x 1080 and 25 frames
// a second. The export runs as a program of its own, so that its peak memory is
// its own. Last line: "export: R × real time; peak memory: M MB".
#include "banc.h"
#include "config_sli.h"
#include "fichier_sli.h"
#include "son_wav.h"

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dossier;
    const QDir d(dossier.path());
    constexpr int n = 12, delai = 5;
    ouvre_fichier_sli(d.filePath("banc.sli"));
    for (int i = 0; i < n; ++i) {
        const QString photo = d.filePath(QStringLiteral("photo%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
        banc::photo(quint32(i), true).save(photo, "JPEG", 90);
        const QString son = d.filePath(QStringLiteral("son%1.wav").arg(i));
        if (!ecrit_fichier(son, son_wav(3000, {330, 44100, 2, 16}))) {
            std::printf("cannot write %s\n", qPrintable(son));
            return 1;
        }
        ajoute_fiche();
        fiche.chemin_image.affecte(photo);
        fiche.chemin_son.affecte(son);
        fiche.commentaire.affecte(QStringLiteral("Photo %1").arg(i + 1));
        ecrit_fiche(i + 1);
    }
    ferme_fichier_sli();
    // The show's delay, in the settings the program reads.
    qputenv("XDG_CONFIG_HOME", d.filePath("config").toLocal8Bit());
    d.mkpath("config/vistarama");
    fixe_dossier_config(d.filePath("config/vistarama/"));
    reglages.delai = delai;
    sauve_config();

    QProcess export_;
    export_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const double ms = banc::millisecondes([&] {
        export_.start(VISTA_VIDEO, {d.filePath("banc.sli"), d.filePath("banc.mp4")});
        export_.waitForFinished(-1);
    });
    if (export_.exitCode() != 0) {
        std::printf("vistarama-video failed (%d)\n", export_.exitCode());
        return 1;
    }
    rusage enfants{};
    getrusage(RUSAGE_CHILDREN, &enfants);
    const double secondes = n * delai;
    std::printf("%d slides, %.0f s of video in %.1f s\n", n, secondes, ms / 1000);
    std::printf("export: %.1f × real time; peak memory: %.0f MB\n", secondes / (ms / 1000),
                enfants.ru_maxrss / 1024.0);
    return 0;
}
