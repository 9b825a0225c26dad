// Wave files for the tests and the benches: PCM sound, silence or a tone.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>
#include <cmath>

// What the file holds: `taux` samples a second of `canaux` channels of `bits` bits
// (8 or 16), a sine of `frequence` Hz at half the full scale, silence at 0. As it
// stands: silence, 8 kHz mono 8-bit (8000 bytes a second).
struct FormatWav {
    double frequence = 0;
    int taux = 8000;
    int canaux = 1;
    int bits = 8;
};

// The file's bytes for `millisecondes` of sound; `annoncee` is the data length the
// header states, `octets_par_seconde` the byte rate it states (-1: the real ones).
inline QByteArray son_wav(int millisecondes, const FormatWav &format = {}, qint64 annoncee = -1,
                          qint64 octets_par_seconde = -1)
{
    const int octets = format.bits / 8, bloc = format.canaux * octets;
    const qint64 echantillons = qint64(format.taux) * millisecondes / 1000;
    QByteArray o("RIFF....WAVEfmt ");
    o.reserve(44 + echantillons * bloc);
    const auto mot = [&o](quint32 v, int taille) {
        char b[4];
        qToLittleEndian(v, b);
        o.append(b, taille);
    };
    mot(16, 4);
    mot(1, 2), mot(format.canaux, 2), mot(format.taux, 4);
    mot(quint32(octets_par_seconde < 0 ? qint64(format.taux) * bloc : octets_par_seconde), 4);
    mot(bloc, 2), mot(format.bits, 2);
    o.append("data");
    mot(quint32(annoncee < 0 ? echantillons * bloc : annoncee), 4);
    for (qint64 i = 0; i < echantillons; ++i) {
        const double v = format.frequence > 0 ? 0.5 * std::sin(2 * M_PI * format.frequence * double(i) / format.taux) : 0;
        for (int c = 0; c < format.canaux; ++c) {
            if (octets == 1)
                o.append(char(128 + std::lround(v * 127)));
            else
                mot(quint16(qint16(std::lround(v * 32767))), 2);
        }
    }
    qToLittleEndian(quint32(o.size() - 8), o.data() + 4);
    return o;
}

inline bool ecrit_fichier(const QString &chemin, const QByteArray &octets)
{
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size();
}
