// Times the image browser where a user waits: the preview of a 12-megapixel JPEG
// seen for the first time (an empty thumbnail cache) and once known, and the listing
// of a folder of 2,000 pictures. Prints the median of five runs.
#include "ControlesFichiers.h"
#include "banc.h"
#include "Fnormal.h"
#include "Fopen.h"
#include "TMultiP.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    QTemporaryDir dossier;
    banc::hors_ecran(dossier);
    const QString cache = dossier.filePath(QStringLiteral("cache"));
    qputenv("XDG_CACHE_HOME", cache.toLocal8Bit());
    QApplication app(argc, argv);
    QDir::setCurrent(dossier.path());
    banc::photo(1).save(dossier.filePath("GRANDE.JPG"), "JPEG", 90);
    const QString grand = dossier.filePath("beaucoup");
    QDir().mkdir(grand);
    for (int i = 0; i < 2000; ++i)
        QFile(QStringLiteral("%1/photo%2.jpg").arg(grand).arg(i, 4, 10, QLatin1Char('0'))).open(QIODevice::WriteOnly);

    Tnormal normal;
    Touvre_image fenetre(&normal);
    fenetre.CheckBox1->setChecked(true);
    QList<double> apercus;
    QList<double> connus;
    QList<double> listes;
    const auto apercu = [&] {
        fenetre.FileListBox1->setDirectory(dossier.path());
        fenetre.FileListBox1->clearSelection();
        QElapsedTimer chrono;
        chrono.start();
        fenetre.FileListBox1->setCurrentRow(0);  // GRANDE.JPG: loads and fits the preview
        QCoreApplication::processEvents();
        return chrono.nsecsElapsed() / 1e6;
    };
    for (int essai = 0; essai < 5; ++essai) {
        QDir(cache).removeRecursively();
        apercus << apercu();
        connus << apercu();
        QElapsedTimer chrono;

        chrono.start();
        fenetre.FileListBox1->setDirectory(grand);
        listes << chrono.nsecsElapsed() / 1e6;
        if (fenetre.FileListBox1->count() != 2000 || fenetre.MultiImage1->InfoWidth != 4000 ||
            fenetre.MultiImage1->Picture().size() != QSize(256, 192))
            return 1;
    }
    std::printf("preview of a known 12 MP file: %.0f ms\n", banc::mediane(connus));
    std::printf("preview 12 MP: %.0f ms; list 2000 files: %.0f ms\n", banc::mediane(apercus), banc::mediane(listes));
    return 0;
}
