#include "service_lecture.h"

#include "imagefile.h"
#include "imagekinds.h"

#include <QFileInfo>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

size_t qHash(const DemandeLecture &demande, size_t graine)
{
    return qHashMulti(graine, demande.chemin, demande.profondeur, demande.tramage, demande.cible.width(),
                      demande.cible.height(), demande.reduite, reinterpret_cast<quintptr>(demande.apprete), demande.vignette);
}

QThreadPool &ServiceLecture::reservoir()
{
    static QThreadPool commun;
    static const bool borne = [] {
        commun.setMaxThreadCount(qMax(1, QThread::idealThreadCount()));
        return true;
    }();
    Q_UNUSED(borne);
    return commun;
}

ServiceLecture::ServiceLecture(QThreadPool *reservoir) : reservoir_(reservoir ? reservoir : &ServiceLecture::reservoir())
{
}

ServiceLecture::~ServiceLecture()
{
    vide();
    attend();
}

bool ServiceLecture::inchangee(const Lecture &lecture, const QString &chemin)
{
    const QFileInfo info(chemin);
    return info.isFile() && info.lastModified() == lecture.modification && info.size() == lecture.taille;
}

void ServiceLecture::abandonne(const Lecture &lecture)
{
    lecture.suivi->annulee = true;
    abandonnees_.removeIf([](const QFuture<Lu> &f) { return f.isFinished(); });
    if (!lecture.resultat.isFinished())
        abandonnees_.append(lecture.resultat);
}

void ServiceLecture::demande(const DemandeLecture &demande)
{
    // A name too long is left to the ordinary reading, which reports it.
    const sky::FormatRow *format =
        demande.chemin.isEmpty() || !NameFitsLibrary(demande.chemin) ? nullptr : PictureFormatOfPath(demande.chemin);
    if (!format)
        return;
    const auto trouvee = lectures_.constFind(demande);
    if (trouvee != lectures_.constEnd() && inchangee(*trouvee, demande.chemin))
        return;
    const QFileInfo info(demande.chemin);
    if (!info.isFile())
        return;
    Lecture lecture;
    // Taken before the reading starts: a change made while it runs shows as a change.
    lecture.modification = info.lastModified();
    lecture.taille = info.size();
    lecture.suivi = std::make_shared<SuiviLecture>();
    lecture.resultat = QtConcurrent::run(reservoir_, [demande, format = format->format, suivi = lecture.suivi,
                                                      reservoir = reservoir_, ecritures = ecritures_] {
        Lu lu;
        if (suivi->annulee)
            return lu;
        const sky::Progress progression = [&suivi = *suivi](int pourcentage) {
            suivi.pourcentage = pourcentage;
            return suivi.annulee ? 0 : 1;
        };
        // A new thumbnail is kept in the cache after the readings already asked for: the page
        // they fill does not wait for it.
        std::function<void()> garde;
        lu.statut = demande.vignette
                        ? ReadThumbnailQuietly(format, demande.chemin, demande.cible, demande.vignette, lu.image,
                                               progression, &garde)
                        : ReadImageFileQuietly(format, demande.chemin, demande.profondeur, demande.tramage,
                                               demande.reduite ? demande.cible : QSize(), lu.image, progression);
        if (garde) {
            const QMutexLocker verrou(&ecritures->verrou);
            ecritures->enCours.removeIf([](const QFuture<void> &f) { return f.isFinished(); });
            ecritures->enCours.append(QtConcurrent::run(reservoir, std::move(garde)));
        }
        if (lu.statut > 0 && demande.apprete)
            lu.image = demande.apprete(std::move(lu.image), demande.cible);
        return lu;
    });
    if (trouvee != lectures_.constEnd())
        abandonne(*trouvee);
    lectures_.insert(demande, lecture);
}

QImage ServiceLecture::prend(const DemandeLecture &demande, bool retire)
{
    const auto trouvee = lectures_.find(demande);
    if (trouvee == lectures_.end())
        return {};
    if (!inchangee(*trouvee, demande.chemin)) {
        abandonne(*trouvee);
        lectures_.erase(trouvee);
        return {};
    }
    const Lu lu = trouvee->resultat.result();
    if (retire)
        lectures_.erase(trouvee);
    return lu.statut > 0 ? lu.image : QImage();
}

void ServiceLecture::garde(const QList<DemandeLecture> &demandes)
{
    for (auto it = lectures_.begin(); it != lectures_.end();) {
        if (demandes.contains(it.key())) {
            ++it;
        } else {
            abandonne(*it);
            it = lectures_.erase(it);
        }
    }
}

void ServiceLecture::attend()
{
    for (Lecture &lecture : lectures_)
        lecture.resultat.waitForFinished();
    for (QFuture<Lu> &abandonnee : abandonnees_)
        abandonnee.waitForFinished();
    abandonnees_.clear();
    // Every reading is done: no keeping is added any more.
    QList<QFuture<void>> ecritures;
    {
        const QMutexLocker verrou(&ecritures_->verrou);
        ecritures.swap(ecritures_->enCours);
    }
    for (QFuture<void> &ecriture : ecritures)
        ecriture.waitForFinished();
}

std::shared_ptr<const SuiviLecture> ServiceLecture::suivi(const DemandeLecture &demande) const
{
    const auto trouvee = lectures_.constFind(demande);
    return trouvee == lectures_.constEnd() ? nullptr : trouvee->suivi;
}

QStringList ServiceLecture::lues() const
{
    QStringList chemins;
    for (auto it = lectures_.constBegin(); it != lectures_.constEnd(); ++it)
        if (it->resultat.isFinished() && it->resultat.result().statut > 0 && !chemins.contains(it.key().chemin))
            chemins << it.key().chemin;
    return chemins;
}
