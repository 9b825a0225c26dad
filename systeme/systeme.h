// Every call that needs a person or a device goes through here: message boxes,
// modal dialogs, file and folder choosers, colour and font choosers, sounds,
// the printer, the help viewer and starting a program. Each is a replaceable
// function object whose default is the real behaviour; tests install scripts.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QDialog;
class QFileDialog;
class QPainter;
class QPrinter;
class QWidget;

namespace systeme {

enum class TypeBoite { Information, Erreur, Confirmation, Avertissement };

// Buttons of a message box, combinable; the answer is one of them.
enum Bouton : int { OK = 1, Annuler = 2, Oui = 4, Non = 8 };

struct Boite {
    TypeBoite type = TypeBoite::Information;
    QString texte;
    int boutons = OK;
    QString titre;  // empty: the caption of the kind ("Information", "Erreur", ...)
};

struct DemandeFichier {
    QWidget *parent = nullptr;
    QString titre;
    QString filtre;     // "Diaporama|*.sli" style: description|patterns pairs
    QString nom;        // initial file name (may be a pattern such as "*.sli")
    QString dossier;    // initial folder; empty = current folder
    bool enregistrer = false;  // save dialog (name need not exist)
};

struct Seams {
    std::function<int(const Boite &)> boite;
    std::function<int(QDialog &)> execute;
    std::function<QString(const DemandeFichier &)> choisir_fichier;  // empty = cancelled
    std::function<QString(QWidget *, const QString &titre, const QString &depart)> choisir_dossier;
    std::function<std::optional<QColor>(const QColor &, QWidget *)> choisir_couleur;
    std::function<std::optional<QFont>(const QFont &, QWidget *)> choisir_police;
    std::function<void(const QString &chemin, int drapeaux)> joue_son;
    // A slide's sound in the player: the previous one stops; a file that cannot be
    // opened shows the media player's error text in the general error box.
    std::function<void(const QString &chemin)> joue_son_diapo;
    // Holds off (true) or lets back (false) the desktop's screen saver.
    std::function<void(bool suspendu)> suspend_economiseur;
    std::function<bool(QPrinter &, QWidget *)> configure_imprimante;
    std::function<void(const QString &fichier, int contexte)> aide;
    std::function<bool(const QString &programme, const QStringList &arguments,
                       const QString &dossier)> lance_programme;
    // Scanner source choice: given the device names, returns the chosen index or -1.
    std::function<int(const QStringList &sources, QWidget *)> choisir_source_scanner;
};

// The installed seams; tests replace members and call restaure() when done.
Seams &seams();
void restaure();
// What restaure() returns to from now on: the seams installed now. A test program
// installs its script this way, so that no test can reach a real dialog.
void garde_comme_defauts();

// Caption of each kind of box.
QString titre_boite(TypeBoite type);

int boite(TypeBoite type, const QString &texte, int boutons = OK);
int execute(QDialog &dialogue);
QString choisir_fichier(const DemandeFichier &demande);
QString choisir_dossier(QWidget *parent, const QString &titre, const QString &depart);
std::optional<QColor> choisir_couleur(const QColor &initiale, QWidget *parent);
std::optional<QFont> choisir_police(const QFont &initiale, QWidget *parent);
void joue_son(const QString &chemin, int drapeaux = 0);
void joue_son_diapo(const QString &chemin);
void suspend_economiseur(bool suspendu);
bool configure_imprimante(QWidget *parent);
void aide(const QString &fichier, int contexte);
bool lance_programme(const QString &programme, const QStringList &arguments,
                     const QString &dossier = {});
int choisir_source_scanner(const QStringList &sources, QWidget *parent);

// The program's open and save dialog, ready to run (the real choisir_fichier runs it).
std::unique_ptr<QFileDialog> dialogue_fichier(const DemandeFichier &demande);

// The one printer the program prints on; tests point it at a PDF file.
QPrinter &imprimante();

// Prints `documents` documents on the shared printer, each one job: `dessin` draws
// the n-th (from 0) with the painter in tenths of a millimetre from the page's
// top-left corner, y downward. When the printer writes to a file, the documents
// after the first go to numbered files beside it ("a.pdf", "a-2.pdf", ...). With no
// printer at all, a PDF file name is asked first. False when that is cancelled or
// the printer cannot start.
bool imprime_documents(int documents, const std::function<void(QPainter &, int)> &dessin);
// The painter's units made tenths of a millimetre from its device's top-left, y downward.
void en_dixiemes_de_millimetre(QPainter &peintre);

}  // namespace systeme
