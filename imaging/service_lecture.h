// The program's one way of reading pictures in the background: the player's
// read-ahead and the contact sheet's thumbnails ask it for readings, and the batch
// conversion runs its workers on its pool. A reading no longer wanted is stopped
// through the library's progress function; a picture whose file changed since its
// reading started is never given (the caller then reads it the ordinary way).
#pragma once

#include <QDateTime>
#include <QFuture>
#include <QHash>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QSize>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

class QThreadPool;

// What a worker does with a picture once read, before it is given: run in the worker,
// so that the window only has to draw. `cible` is the request's target size.
using AppretLecture = QImage (*)(QImage image, QSize cible);

struct DemandeLecture {
    QString chemin = {};
    int profondeur = 24;
    bool tramage = true;
    // The size the picture is read for: a JPEG is decoded as small as a picture
    // fitted into it allows when `reduite`; `apprete` receives it too.
    QSize cible = {};
    bool reduite = false;
    AppretLecture apprete = nullptr;
    // Not 0: the picture is a thumbnail of the desktop's cache of that size, taken
    // from it or kept in it (ReadThumbnailQuietly; `cible` is then the zone it is drawn in).
    int vignette = 0;
    bool operator==(const DemandeLecture &) const = default;
};
size_t qHash(const DemandeLecture &demande, size_t graine = 0);

// How far one reading went, shared by the service and the worker.
struct SuiviLecture {
    std::atomic<bool> annulee{false};
    // The last percentage the library reported; -1 before its first report.
    std::atomic<int> pourcentage{-1};
};

class ServiceLecture {
public:
    // The pool every background reading and the batch conversion run on: as many
    // threads as the machine has cores.
    static QThreadPool &reservoir();

    // `reservoir` by default; a pool of its own for a test.
    explicit ServiceLecture(QThreadPool *reservoir = nullptr);
    // Stops what is under way and waits for it: no worker outlives its service.
    ~ServiceLecture();
    ServiceLecture(const ServiceLecture &) = delete;
    ServiceLecture &operator=(const ServiceLecture &) = delete;

    // Starts the reading, unless the same one is already read or under way on the
    // unchanged file. Files of none of the library's formats are left alone.
    void demande(const DemandeLecture &demande);
    // The picture read for `demande`, waiting for a reading under way; null when it
    // was not asked for, failed, or the file changed since the reading started.
    // `retire`: the service forgets it once given.
    QImage prend(const DemandeLecture &demande, bool retire);
    // Stops and forgets every reading but those of `demandes`.
    void garde(const QList<DemandeLecture> &demandes);
    void vide() { garde({}); }
    // Waits until no reading of this service is under way, stopped ones included, nor
    // the keeping of a thumbnail it read.
    void attend();
    // How far the reading of `demande` went (null when it was not asked for).
    std::shared_ptr<const SuiviLecture> suivi(const DemandeLecture &demande) const;
    // The paths whose reading is done and may be given.
    QStringList lues() const;

private:
    struct Lu {
        int statut = 0;
        QImage image;
    };
    struct Lecture {
        QDateTime modification;
        qint64 taille = -1;
        std::shared_ptr<SuiviLecture> suivi;
        QFuture<Lu> resultat;
    };
    // The thumbnails being kept in the desktop's cache, written after their picture is
    // given (the workers add to it).
    struct Ecritures {
        QMutex verrou;
        QList<QFuture<void>> enCours;
    };
    static bool inchangee(const Lecture &lecture, const QString &chemin);
    void abandonne(const Lecture &lecture);
    QThreadPool *reservoir_;
    QHash<DemandeLecture, Lecture> lectures_;
    QList<QFuture<Lu>> abandonnees_;
    std::shared_ptr<Ecritures> ecritures_ = std::make_shared<Ecritures>();
};
