// Every call of the launcher that reaches the person or the machine: the sounds,
// the folder chooser, starting a program and the demonstration corner's wait.
// Each is a replaceable function object whose default is the real behaviour;
// tests install scripts and call restaure_plateforme() when done.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace lanceur {

struct Plateforme {
    // Plays a wave file without waiting; a new sound cuts the one playing and a
    // missing file gives the platform's beep.
    std::function<void(const QString &fichier)> joue_son;
    std::function<void()> arrete_son;
    // A folder chosen by the user, starting at the desktop; empty when cancelled.
    std::function<QString(QWidget *parent, const QString &titre)> choisir_dossier;
    // Starts a program on its own, with no shell, and does not wait for it; false
    // when it could not start.
    std::function<bool(const QString &programme, const QStringList &arguments)> lance_programme;
    // Waits that many milliseconds while the windows go on handling their events.
    std::function<void(int millisecondes)> attends;
};

Plateforme &plateforme();
void restaure_plateforme();

}  // namespace lanceur
