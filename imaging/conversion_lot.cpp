#include "conversion_lot.h"

#include "imagekinds.h"
#include "progression.h"
#include "service_lecture.h"
#include "systeme.h"

#include <QDir>
#include <QEventLoop>
#include <QHash>
#include <QThreadPool>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

// The source's format by its extension; null for a file of none of the six.
const sky::FormatRow *format_source(const QString &chemin) { return PictureFormatOfPath(chemin); }

int lit(const QString &chemin, const ReglagesConversion &r, QImage &image, const sky::Progress &suite)
{
    const sky::FormatRow *format = format_source(chemin);
    return format ? ReadImageFileQuietly(format->format, chemin, r.profondeur_lecture, r.tramage, {}, image, suite)
                  : int(sky::BadFormat);
}

int ecrit(const QString &chemin, const ReglagesConversion &r, const QImage &image, const sky::Progress &suite)
{
    return WriteImageFileQuietly(r.format, chemin, r.profondeur_ecriture, r.options, image, suite);
}

}  // namespace

void convertit_lot(const QList<ConversionFichier> &lot, const ReglagesConversion &reglages, int fils,
                   const std::function<void(int indice, const IssueConversion &issue)> &recu,
                   const std::atomic_bool *arret, QObject *bouton_arret)
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
    // Woken by each result; the workers run on the program's one pool.
    QEventLoop attente;

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
            QMetaObject::invokeMethod(&attente, &QEventLoop::quit, Qt::QueuedConnection);
        }
    };
    int actifs = 0;
    const int ouvriers = qBound(1, fils, qMax(1, n));
    for (int i = 0; i < ouvriers; ++i) {
        ++actifs;
        ServiceLecture::reservoir().start([&] {
            travaille();
            std::lock_guard<std::mutex> l(verrou);
            --actifs;
            change.notify_all();
        });
    }

    for (int k = 0; k < n && !arrete(); ++k) {
        IssueConversion issue;
        for (;;) {
            {
                std::lock_guard<std::mutex> l(verrou);
                if (arrete())
                    break;
                if (fini[size_t(k)]) {
                    issue = std::move(issues[size_t(k)]);
                    ++rendues;
                    change.notify_all();
                    break;
                }
            }
            // The windows repaint meanwhile; the user's input waits, as in every other
            // wait, but for the Stop button.
            const RetenueEntrees retenue(bouton_arret);
            attente.exec(bouton_arret ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        }
        if (!arrete())
            recu(k, issue);
    }
    {
        // The workers waiting for their turn hear of the stop.
        std::lock_guard<std::mutex> l(verrou);
        change.notify_all();
    }
    std::unique_lock<std::mutex> l(verrou);
    change.wait(l, [&] { return actifs == 0; });
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
