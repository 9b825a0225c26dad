// Wave files for the tests: silence of a given length, 8 kHz mono 8-bit (8000 bytes a second).
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

// The file's bytes; `annoncee` is the data length the header states (-1: the real one),
// `octets_par_seconde` the byte rate it states.
inline QByteArray son_wav(int millisecondes, qint64 annoncee = -1, quint32 octets_par_seconde = 8000)
{
    const QByteArray donnees(millisecondes * 8, char(0x80));
    QByteArray o("RIFF....WAVEfmt ");
    const auto mot = [&o](quint32 v, int octets) {
        char b[4];
        qToLittleEndian(v, b);
        o.append(b, octets);
    };
    mot(16, 4);
    mot(1, 2), mot(1, 2), mot(8000, 4), mot(octets_par_seconde, 4), mot(1, 2), mot(8, 2);
    o.append("data");
    mot(quint32(annoncee < 0 ? donnees.size() : annoncee), 4);
    o.append(donnees);
    qToLittleEndian(quint32(o.size() - 8), o.data() + 4);
    return o;
}

inline bool ecrit_fichier(const QString &chemin, const QByteArray &octets)
{
    QFile f(chemin);
    return f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size();
}
