#include "anticipation.h"

#include "imagefile.h"
#include "imagekinds.h"
#include "reduction.h"

#include <QFileInfo>
#include <QtConcurrent>

namespace {

QImage lit_pour_ecran(const QString &chemin, sky::Format format, QSize ecran, int profondeur, bool tramage)
{
    QImage image;
    if (!PrepareImageFile(format, chemin, profondeur, tramage, image, ecran))
        return {};
    return image_pour_ecran(image, ecran);
}

}  // namespace

LectureAnticipee::~LectureAnticipee()
{
    vide();
    for (QFuture<QImage> &image : abandonnees_)
        image.waitForFinished();
}

void LectureAnticipee::abandonne(QFuture<QImage> image)
{
    abandonnees_.removeIf([](const QFuture<QImage> &f) { return f.isFinished(); });
    if (!image.isFinished())
        abandonnees_.append(image);
}

bool LectureAnticipee::inchangee(const Lecture &lecture, const QString &chemin)
{
    const QFileInfo info(chemin);
    return info.isFile() && info.lastModified() == lecture.modification && info.size() == lecture.taille;
}

void LectureAnticipee::prepare(const QString &chemin, QSize ecran, int profondeur, bool tramage)
{
    const sky::FormatRow *format = chemin.isEmpty() ? nullptr : PictureFormatOfPath(chemin);
    if (!format)
        return;
    const auto trouvee = lectures_.constFind(chemin);
    if (trouvee != lectures_.constEnd() && trouvee->ecran == ecran && trouvee->profondeur == profondeur &&
        inchangee(*trouvee, chemin))
        return;
    const QFileInfo info(chemin);
    if (!info.isFile())
        return;
    Lecture lecture;
    // Taken before the reading starts: a change made while it runs shows as a change.
    lecture.modification = info.lastModified();
    lecture.taille = info.size();
    lecture.ecran = ecran;
    lecture.profondeur = profondeur;
    lecture.image = QtConcurrent::run(lit_pour_ecran, chemin, format->format, ecran, profondeur, tramage);
    if (trouvee != lectures_.constEnd())
        abandonne(trouvee->image);
    lectures_.insert(chemin, lecture);
}

QImage LectureAnticipee::prise(const QString &chemin, QSize ecran, int profondeur)
{
    const auto trouvee = lectures_.find(chemin);
    if (trouvee == lectures_.end() || trouvee->ecran != ecran || trouvee->profondeur != profondeur)
        return {};
    if (!inchangee(*trouvee, chemin)) {
        abandonne(trouvee->image);
        lectures_.erase(trouvee);
        return {};
    }
    return trouvee->image.result();
}

void LectureAnticipee::garde(const QStringList &chemins)
{
    for (auto it = lectures_.begin(); it != lectures_.end();) {
        if (chemins.contains(it.key())) {
            ++it;
        } else {
            abandonne(it->image);
            it = lectures_.erase(it);
        }
    }
}
