// Answers every seam of the program in place of a person or a device, and
// records what was shown, heard, asked, printed and started. A seam that the
// test gave no answer for fails the test at once and answers "cancelled",
// so that no test ever waits on a real dialog. Restores the real seams when destroyed.
//
// Boxes are the exception: once `reponses` is used up they answer OK, and
// sounds and help are only recorded.
#pragma once

#include "systeme.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <optional>

class QDialog;

class ScriptSysteme {
public:
    ScriptSysteme();
    ~ScriptSysteme();
    ScriptSysteme(const ScriptSysteme &) = delete;
    ScriptSysteme &operator=(const ScriptSysteme &) = delete;

    struct Lancement {
        QString programme;
        QStringList arguments;
        QString dossier;
    };

    // Answers, each used once, in order.
    std::deque<int> reponses;                          // boxes; then OK
    std::deque<QString> fichiers;                      // file dialogs; "" cancels
    std::deque<QString> dossiers;                      // folder dialogs; "" cancels
    std::deque<std::function<int(QDialog &)>> dialogues;  // modal dialogs: act on it, return its result
    std::deque<std::optional<QColor>> couleurs;        // colour dialogs; nullopt cancels
    std::deque<std::optional<QFont>> polices;          // font dialogs; nullopt cancels
    std::deque<bool> reglages_imprimante;              // printer set-up: accepted or not
    std::deque<int> sources_scanner;                   // scanner source: index or -1
    std::deque<bool> lancements_reussis;               // starting a program

    // What was asked.
    QList<systeme::Boite> boites;
    QList<systeme::DemandeFichier> demandes;
    QStringList titres_dossiers;
    QStringList dialogues_montres;  // objectName of each dialog executed
    QStringList sons;
    QStringList sons_diapo;         // the player's sounds
    QList<bool> economiseur;        // screen saver held off (true) and let back (false)
    QList<QPair<QString, int>> aides;
    QList<Lancement> lancements;

    QStringList textes_boites() const;
    // Where the shared printer prints during the test (a PDF file).
    QString pdf_imprime() const;

private:
    QTemporaryDir dossier_impression_;
};
