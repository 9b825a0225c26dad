// The running show offered to the desktop on the session bus as a media player
// (freedesktop's MPRIS interfaces), so that media keys, desktop shells and phone
// remotes drive it: next and previous slide, pause and resume, stop. It only calls
// the player's own moves; it exists while the show runs and is withdrawn with it.
// Without a session bus it does nothing.
#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

class Tlance_diaporama;

class Mpris : public QObject {
    Q_OBJECT
public:
    explicit Mpris(Tlance_diaporama &lecteur);
    ~Mpris() override;

    // The name owned on the bus; empty when there is none.
    QString nom_sur_bus() const { return nom; }

    // What the player interface shows of the show.
    QString etat_lecture() const;
    QVariantMap metadonnees() const;
    bool pilotable() const;
    bool minuterie() const;
    qint64 position() const;

    // The player's moves, as the keys make them; none while the show is busy with a
    // slide or a box.
    void suivante();
    void precedente();
    void lecture_pause();
    void lecture();
    void pause();
    // Ends the show once the call has been answered.
    void arrete();

private:
    // Tells the bus which of the player's properties have changed since last time.
    void signale_changements();

    Tlance_diaporama &lecteur;
    QString nom;
    QVariantMap annonce;  // the player properties last told
};
