// Synthesises the launcher's three sounds as 16-bit mono wave files:
//   ostrel_sons FOLDER
// writes FOLDER/Tarvik1.wav (welcome chime), Tarvik2.wav (click) and
// Tarvik3.wav (hover blip).
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int FREQUENCE = 22050;
constexpr double PI = 3.14159265358979323846;

using Echantillons = std::vector<double>;

void ajoute_mot(QByteArray &octets, quint16 valeur)
{
    const quint16 le = qToLittleEndian(valeur);
    octets.append(reinterpret_cast<const char *>(&le), sizeof le);
}

void ajoute_long(QByteArray &octets, quint32 valeur)
{
    const quint32 le = qToLittleEndian(valeur);
    octets.append(reinterpret_cast<const char *>(&le), sizeof le);
}

QByteArray wave(const Echantillons &son)
{
    const quint32 donnees = quint32(son.size() * 2);
    QByteArray octets;
    octets.append("RIFF");
    ajoute_long(octets, 36 + donnees);
    octets.append("WAVEfmt ");
    ajoute_long(octets, 16);
    ajoute_mot(octets, 1);  // PCM
    ajoute_mot(octets, 1);  // mono
    ajoute_long(octets, FREQUENCE);
    ajoute_long(octets, FREQUENCE * 2);
    ajoute_mot(octets, 2);
    ajoute_mot(octets, 16);
    octets.append("data");
    ajoute_long(octets, donnees);
    for (double v : son)
        ajoute_mot(octets, quint16(qint16(std::lround(std::clamp(v, -1.0, 1.0) * 32000))));
    return octets;
}

Echantillons silence(double secondes) { return Echantillons(size_t(secondes * FREQUENCE), 0.0); }

// Adds a struck bell-like note: a fundamental and two softer partials, each dying away.
void ajoute_note(Echantillons &son, double debut, double frequence, double force, double extinction)
{
    const size_t premier = size_t(debut * FREQUENCE);
    for (size_t i = premier; i < son.size(); ++i) {
        const double t = double(i - premier) / FREQUENCE;
        const double attaque = std::min(1.0, t / 0.004);
        const double enveloppe = attaque * std::exp(-t / extinction);
        son[i] += force * enveloppe *
                  (std::sin(2 * PI * frequence * t) + 0.35 * std::sin(2 * PI * 2 * frequence * t) +
                   0.12 * std::sin(2 * PI * 3.01 * frequence * t) * std::exp(-t / 0.08));
    }
}

Echantillons accueil()
{
    Echantillons son = silence(1.9);
    const double notes[] = {523.25, 659.25, 783.99, 1046.5};  // C major, rising
    for (int i = 0; i < 4; ++i)
        ajoute_note(son, 0.13 * i, notes[i], 0.22, 0.45);
    ajoute_note(son, 0.55, 1318.5, 0.12, 0.6);
    double crete = 0;
    for (double v : son)
        crete = std::max(crete, std::abs(v));
    for (double &v : son)
        v *= 0.9 / crete;
    return son;
}

Echantillons clic()
{
    Echantillons son = silence(0.3);
    QRandomGenerator hasard(2);
    double phase = 0;
    for (size_t i = 0; i < son.size(); ++i) {
        const double t = double(i) / FREQUENCE;
        const double frequence = 380 + 900 * std::exp(-t / 0.03);  // a falling "pop"
        phase += 2 * PI * frequence / FREQUENCE;
        const double bruit = (hasard.generateDouble() * 2 - 1) * std::exp(-t / 0.006);
        son[i] = 0.6 * std::sin(phase) * std::exp(-t / 0.06) + 0.25 * bruit;
    }
    return son;
}

Echantillons survol()
{
    Echantillons son = silence(0.11);
    double phase = 0;
    for (size_t i = 0; i < son.size(); ++i) {
        const double t = double(i) / FREQUENCE;
        const double frequence = 1500 + 600 * t / 0.11;  // a short rising blip
        phase += 2 * PI * frequence / FREQUENCE;
        const double enveloppe = std::min(1.0, t / 0.005) * std::exp(-t / 0.035);
        son[i] = 0.4 * enveloppe * std::sin(phase);
    }
    return son;
}

bool ecrit(const QString &chemin, const QByteArray &octets)
{
    QFile fichier(chemin);
    return fichier.open(QIODevice::WriteOnly) && fichier.write(octets) == octets.size();
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage : ostrel_sons DOSSIER\n");
        return 2;
    }
    const QDir dossier(QString::fromLocal8Bit(argv[1]));
    const struct { const char *nom; std::function<Echantillons()> fabrique; } sons[] = {
        {"Tarvik1.wav", accueil}, {"Tarvik2.wav", clic}, {"Tarvik3.wav", survol}};
    for (const auto &son : sons) {
        const QString chemin = dossier.filePath(QString::fromLatin1(son.nom));
        if (!ecrit(chemin, wave(son.fabrique()))) {
            std::fprintf(stderr, "ostrel_sons : impossible d'écrire %s\n", qPrintable(chemin));
            return 1;
        }
    }
    return 0;
}
