#include "conversion_lot.h"

#include "imagekinds.h"
#include "formats.h"
#include "systeme.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// The source's format by its extension; null for a file of none of the six.
const sky::FormatRow *format_source(const QString &chemin) { return PictureFormatOfPath(chemin); }

int lit(const QString &chemin, const ReglagesConversion &r, QImage &image, const sky::Progress &suite)
{
    const sky::FormatRow *format = format_source(chemin);
    return format ? format->read(chemin, r.profondeur_lecture, r.tramage, image, suite) : int(sky::BadFormat);
}

int ecrit(const QString &chemin, const ReglagesConversion &r, const QImage &image, const sky::Progress &suite)
{
    return sky::formatRow(r.format).write(chemin, r.profondeur_ecriture, image, r.options, suite);
}

}  // namespace

void convertit_lot(const QList<ConversionFichier> &lot, const ReglagesConversion &reglages, int fils,
                   const std::function<void(int indice, const IssueConversion &issue)> &recu,
                   const std::atomic_bool *arret)
{
    const auto arrete = [arret] { return arret && arret->load(); };
    // The library's progress answer: 0 stops the file under way, which leaves nothing behind.
    const sky::Progress suite = [arrete](int) { return arrete() ? 0 : 1; };
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
                change.wait(l, [&] { return prochaine >= n || prochaine < rendues + avance || arrete(); });
                if (prochaine >= n || arrete())
                    return;
                k = prochaine++;
            }
            IssueConversion issue;
            try {
                issue.lecture = lit(lot[k].source, reglages, issue.image, suite);
                if (issue.lecture > 0) {
                    if (const int avant = attend[size_t(k)]; avant >= 0) {
                        std::unique_lock<std::mutex> l(verrou);
                        change.wait(l, [&] { return bool(fini[size_t(avant)]); });
                    }
                    issue.ecriture = ecrit(lot[k].cible, reglages, issue.image, suite);
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

    for (int k = 0; k < n && !arrete(); ++k) {
        IssueConversion issue;
        for (;;) {
            std::unique_lock<std::mutex> l(verrou);
            if (arrete())
                break;
            if (change.wait_for(l, std::chrono::milliseconds(20), [&] { return bool(fini[size_t(k)]); })) {
                issue = std::move(issues[size_t(k)]);
                ++rendues;
                change.notify_all();
                break;
            }
            l.unlock();
            QCoreApplication::processEvents();
        }
        if (!arrete())
            recu(k, issue);
    }
    {
        // The workers waiting for their turn hear of the stop.
        std::lock_guard<std::mutex> l(verrou);
        change.notify_all();
    }
    for (std::thread &t : ouvriers)
        t.join();
}

void signale_echec(const ConversionFichier &fichier, const IssueConversion &issue)
{
    if (issue.reussie() || issue.arretee())
        return;
    // The worker's thread saw the system's reason, not this one: the status's own text.
    const bool lecture = issue.lecture <= 0;
    systeme::boite(systeme::TypeBoite::Erreur,
                   QStringLiteral("%1 de \"%2\" impossible :\n%3")
                       .arg(lecture ? QStringLiteral("Lecture") : QStringLiteral("Ecriture"),
                            QDir::toNativeSeparators(lecture ? fichier.source : fichier.cible),
                            sky::errorText(lecture ? issue.lecture : issue.ecriture)));
}
