#include "copie.h"

#include <QFile>
#include <QSaveFile>

namespace lanceur {

bool copie_fichier(const QString &source, const QString &cible)
{
    QFile entree(source);
    if (!entree.open(QIODevice::ReadOnly))
        return false;
    QSaveFile sortie(cible);
    if (!sortie.open(QIODevice::WriteOnly))
        return false;
    constexpr qint64 MORCEAU = 1 << 20;
    while (!entree.atEnd()) {
        const QByteArray octets = entree.read(MORCEAU);
        if (octets.isEmpty() || sortie.write(octets) != octets.size()) {
            sortie.cancelWriting();
            return false;
        }
    }
    return sortie.commit();
}

}  // namespace lanceur
