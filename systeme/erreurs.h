// The run-time input/output error: raised by file operations that fail, caught
// at the event boundary (Application::notify) and shown in the general error box.
#pragma once

#include <QString>
#include <functional>
#include <stdexcept>

namespace erreurs {

// Run-time codes of the input/output errors.
enum Code : int {
    FichierIntrouvable = 2,
    AccesRefuse = 5,
    FinDeFichier = 100,
    DisquePlein = 101,
    FichierNonOuvert = 103,
};

// Run-time text of a code: "Fichier introuvable", ..., "Erreur E/S %d".
QString texte_erreur(int code);

class ErreurES : public std::runtime_error {
public:
    explicit ErreurES(int code);
    ErreurES(int code, const QString &texte);
    int code() const { return code_; }
    QString texte() const { return texte_; }

private:
    int code_;
    QString texte_;
};

[[noreturn]] void leve(int code);
// A system error: the run-time text where one names it, else "Erreur E/S" and the errno.
[[noreturn]] void leve_errno(int numero);

// Runs `action`; an ErreurES that escapes it is shown in the general error box.
// Returns false when an error was shown.
bool sous_garde(const std::function<void()> &action);

// The general error box: an error box captioned with the application title.
void erreur_generale(const QString &texte);

}  // namespace erreurs
