#include "conversion_lot.h"

#include "imagekinds.h"
#include "sky.h"
#include "systeme.h"

#include <QCoreApplication>
#include <QHash>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

const char *nom_lecture(ImageKind kind)
{
    switch (kind) {
    case ImageKind::Bmp: return "bmp";
    case ImageKind::Jpeg: return "jpg";
    case ImageKind::Png: return "png";
    case ImageKind::Gif: return "gif";
    case ImageKind::Tif: return "tif";
    case ImageKind::Pcx: return "pcx";
    default: return "image";
    }
}

const char *nom_ecriture(SaveFormat format)
{
    switch (format) {
    case SaveFormat::Bmp: return "bmp";
    case SaveFormat::Png: return "png";
    case SaveFormat::Tif: return "tif";
    case SaveFormat::Pcx: return "pcx";
    case SaveFormat::Gif: return "gif";
    case SaveFormat::Jpeg: return "jpg";
    }
    return "";
}

int lit(const QString &chemin, const ReglagesConversion &r, QImage &image)
{
    const int p = r.profondeur_lecture;
    switch (KindOfPath(chemin)) {
    case ImageKind::Bmp: return sky::readBmp(chemin, p, r.tramage, image, {});
    case ImageKind::Jpeg: return sky::readJpeg(chemin, p, 1, r.tramage, image, {});
    case ImageKind::Png: return sky::readPng(chemin, p, r.tramage, image, {});
    case ImageKind::Gif: return sky::readGif(chemin, p, r.tramage, image, {});
    case ImageKind::Tif: return sky::readTiff(chemin, p, r.tramage, image, {});
    case ImageKind::Pcx: return sky::readPcx(chemin, p, r.tramage, image, {});
    default: return sky::BadFormat;
    }
}

int ecrit(const QString &chemin, const ReglagesConversion &r, const QImage &image)
{
    const int p = r.profondeur_ecriture;
    switch (r.format) {
    case SaveFormat::Bmp: return sky::writeBmp(chemin, p, image, {});
    case SaveFormat::Png: return sky::writePng(chemin, p, r.entrelace, image, {});
    case SaveFormat::Tif: return sky::writeTiff(chemin, r.compression, p, image, {});
    case SaveFormat::Pcx: return sky::writePcx(chemin, p, image, {});
    case SaveFormat::Gif: return sky::writeGif(chemin, p, image, {});
    case SaveFormat::Jpeg: return sky::writeJpeg(chemin, r.qualite, r.lissage, p, image, {});
    }
    return sky::BadArgument;
}

}  // namespace

void convertit_lot(const QList<ConversionFichier> &lot, const ReglagesConversion &reglages, int fils,
                   const std::function<void(int indice, const IssueConversion &issue)> &recu)
{
    const int n = int(lot.size());
    // The entry each one must wait for: the last earlier one with the same target.
    std::vector<int> attend(static_cast<size_t>(n), -1);
    QHash<QString, int> dernier;
    for (int k = 0; k < n; ++k) {
        attend[size_t(k)] = dernier.value(lot[k].cible, -1);
        dernier.insert(lot[k].cible, k);
    }
    std::vector<IssueConversion> issues(static_cast<size_t>(n));
    std::vector<bool> fini(static_cast<size_t>(n), false);
    std::mutex verrou;
    std::condition_variable change;
    int prochaine = 0;
    int rendues = 0;
    // At most this many results wait for the caller, so pictures read do not pile up.
    const int avance = 2 * qMax(1, fils);

    const auto travaille = [&] {
        for (;;) {
            int k;
            {
                std::unique_lock<std::mutex> l(verrou);
                change.wait(l, [&] { return prochaine >= n || prochaine < rendues + avance; });
                if (prochaine >= n)
                    return;
                k = prochaine++;
            }
            IssueConversion issue;
            try {
                issue.lecture = lit(lot[k].source, reglages, issue.image);
                if (issue.lecture > 0) {
                    if (const int avant = attend[size_t(k)]; avant >= 0) {
                        std::unique_lock<std::mutex> l(verrou);
                        change.wait(l, [&] { return bool(fini[size_t(avant)]); });
                    }
                    issue.ecriture = ecrit(lot[k].cible, reglages, issue.image);
                }
            } catch (const std::bad_alloc &) {
                issue = IssueConversion{};
                issue.lecture = issue.lecture > 0 ? issue.lecture : sky::OutOfMemory;
                issue.ecriture = sky::OutOfMemory;
            }
            std::lock_guard<std::mutex> l(verrou);
            issues[size_t(k)] = std::move(issue);
            fini[size_t(k)] = true;
            change.notify_all();
        }
    };
    std::vector<std::thread> ouvriers;
    for (int i = 0; i < qBound(1, fils, qMax(1, n)); ++i)
        ouvriers.emplace_back(travaille);

    for (int k = 0; k < n; ++k) {
        IssueConversion issue;
        for (;;) {
            std::unique_lock<std::mutex> l(verrou);
            if (change.wait_for(l, std::chrono::milliseconds(20), [&] { return bool(fini[size_t(k)]); })) {
                issue = std::move(issues[size_t(k)]);
                ++rendues;
                change.notify_all();
                break;
            }
            l.unlock();
            QCoreApplication::processEvents();
        }
        recu(k, issue);
    }
    for (std::thread &t : ouvriers)
        t.join();
}

void signale_echec(const ConversionFichier &fichier, const ReglagesConversion &reglages,
                   const IssueConversion &issue)
{
    if (issue.lecture <= 0) {
        ReportLibraryError(issue.lecture);
        const QLatin1String nom(nom_lecture(KindOfPath(fichier.source)));
        systeme::boite(systeme::TypeBoite::Information, QStringLiteral("Reading %1 file failed").arg(nom));
    } else if (issue.ecriture <= 0) {
        ReportLibraryError(issue.ecriture);
        const QLatin1String nom(nom_ecriture(reglages.format));
        systeme::boite(systeme::TypeBoite::Information, QStringLiteral("Writing %1 file failed").arg(nom));
    }
}
