// Times the contact sheet where a user waits: a page of twelve 12-megapixel JPEGs
// filled, and the same twelve decoded at full size by an image control, as a
// sheet without reduced decoding would. Prints the median of five runs.
#include "Fgauge.h"
#include "banc.h"
#include "Fplanche.h"
#include "Info.h"
#include "TMultiP.h"
#include "fichier_sli.h"
#include "imagefile.h"
#include "progression.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    QTemporaryDir dossier;
    banc::hors_ecran(dossier);
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

    Tjauge jauge;
    Tinfo_diapo info;
    TPlanche planche(&info, &jauge);
    planche.show();
    QList<double> pages;
    QList<double> pleines;
    for (int essai = 0; essai < 5; ++essai) {
        QElapsedTimer chrono;
        chrono.start();
        planche.affiche_planche();
        pages << chrono.nsecsElapsed() / 1e6;
        if (planche.image[12]->InfoWidth != 4000 || planche.image[12]->Picture().size().width() != 500)
            return 1;

        TPMultiImage pleine;
        chrono.restart();
        for (const QString &chemin : photos)
            pleine.setImageName(chemin);
        pleines << chrono.nsecsElapsed() / 1e6;
        if (pleine.Picture().size().width() != 4000)
            return 1;
    }
    ferme_fichier_sli();
    std::printf("page of 12: %.0f ms; full-size decode of the same 12: %.0f ms\n", banc::mediane(pages),
                banc::mediane(pleines));
    return 0;
}
