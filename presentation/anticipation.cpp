#include "anticipation.h"

#include "reduction.h"

QImage apprete_pour_l_ecran(QImage image, QSize ecran) { return image_pour_ecran(image, ecran); }

void LectureAnticipee::prepare(const QString &chemin, QSize ecran, int profondeur, bool tramage)
{
    const DemandeLecture demande{chemin, profondeur, tramage, ecran, true, apprete_pour_l_ecran};
    const bool autre = demandes_.contains(chemin) && demandes_.value(chemin) != demande;
    service_.demande(demande);
    if (service_.suivi(demande))
        demandes_.insert(chemin, demande);
    else
        demandes_.remove(chemin);
    // The reading of the same picture for another size or depth is no longer wanted.
    if (autre)
        service_.garde(demandes_.values());
}

QImage LectureAnticipee::prise(const QString &chemin, QSize ecran, int profondeur)
{
    const auto trouvee = demandes_.constFind(chemin);
    if (trouvee == demandes_.constEnd() || trouvee->cible != ecran || trouvee->profondeur != profondeur)
        return {};
    return service_.prend(*trouvee, false);
}

void LectureAnticipee::garde(const QStringList &chemins)
{
    for (auto it = demandes_.begin(); it != demandes_.end();)
        it = chemins.contains(it.key()) ? std::next(it) : demandes_.erase(it);
    service_.garde(demandes_.values());
}

QStringList LectureAnticipee::attend_lectures()
{
    service_.attend();
    return service_.lues();
}
