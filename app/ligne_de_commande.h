// What the program's arguments ask for, decided before any window is made: a
// refused command line shows no window and writes no file.
#pragma once

#include <QString>
#include <QStringList>

struct LigneDeCommande {
    enum class Action { Fenetre, Presentation, Aide, Version, Refus };
    Action action = Action::Fenetre;
    QString diaporama;  // absolute path; empty: the window opens with no slideshow
    QString message;    // the refusal, for the standard error
};

// `arguments` follow the program's name. A slideshow is a name ending in ".sli"
// (any case): one that exists must hold whole slide records; one that does not
// exist is created by the window, never presented.
LigneDeCommande analyse_ligne_de_commande(const QStringList &arguments);

// The texts of --help and --version.
QString texte_aide();
QString texte_version();
