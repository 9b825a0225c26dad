// Answers the program's boxes and dialogs in place of a person, and records
// what was shown, heard and asked. Restores the real behaviour when destroyed.
#pragma once

#include "systeme.h"

#include <QList>
#include <QStringList>
#include <deque>

class ScriptSysteme {
public:
    ScriptSysteme();
    ~ScriptSysteme();

    // Answers for the next boxes, in order; once used up, boxes answer OK.
    std::deque<int> reponses;
    // Files the next file dialogs choose, in order; an empty string cancels.
    std::deque<QString> fichiers;

    QList<systeme::Boite> boites;
    QList<systeme::DemandeFichier> demandes;
    QStringList sons;
    QList<QPair<QString, int>> aides;

    QStringList textes_boites() const;
};
