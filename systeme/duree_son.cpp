#include "duree_son.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <limits>

namespace systeme {

int duree_son_wav(const QString &chemin)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        return 0;
    char entete[12];
    if (fichier.read(entete, 12) != 12 || std::memcmp(entete, "RIFF", 4) != 0 ||
        std::memcmp(entete + 8, "WAVE", 4) != 0)
        return 0;
    quint32 octets_par_seconde = 0;
    // The chunks one after the other, each padded to an even length.
    for (;;) {
        char morceau[8];
        if (fichier.read(morceau, 8) != 8)
            return 0;
        const quint32 taille = qFromLittleEndian<quint32>(morceau + 4);
        const qint64 suivant = fichier.pos() + qint64(taille) + (taille & 1);
        if (std::memcmp(morceau, "fmt ", 4) == 0) {
            char format[12];
            if (taille < 12 || fichier.read(format, 12) != 12)
                return 0;
            octets_par_seconde = qFromLittleEndian<quint32>(format + 8);
        } else if (std::memcmp(morceau, "data", 4) == 0) {
            if (octets_par_seconde == 0)
                return 0;
            const qint64 presents = std::min<qint64>(taille, fichier.size() - fichier.pos());
            return int(std::min<qint64>(presents * 1000 / octets_par_seconde, std::numeric_limits<int>::max()));
        }
        if (suivant > fichier.size() || !fichier.seek(suivant))
            return 0;
    }
}

}  // namespace systeme
