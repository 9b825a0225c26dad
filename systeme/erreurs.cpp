#include "erreurs.h"

#include "application.h"

#include "systeme.h"

#include <cerrno>
#include <optional>

namespace erreurs {

QString texte_erreur(int code)
{
    switch (code) {
    case FichierIntrouvable: return QStringLiteral("Fichier introuvable");
    case AccesRefuse: return QStringLiteral("Accès au fichier refusé");
    case FinDeFichier: return QStringLiteral("Lecture au delà de la fin de fichier");
    case DisquePlein: return QStringLiteral("Disque plein");
    default: return QStringLiteral("Erreur E/S %1").arg(code);
    }
}

namespace {

// The run-time code of the system errors that have a run-time text of their own.
std::optional<int> code_nomme(int numero)
{
    switch (numero) {
    case ENOENT: return FichierIntrouvable;
    case EACCES:
    case EPERM:
    case EROFS: return AccesRefuse;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return DisquePlein;
    default: return std::nullopt;
    }
}

}  // namespace

ErreurES::ErreurES(int code) : ErreurES(code, texte_erreur(code)) {}

ErreurES::ErreurES(int code, const QString &texte)
    : std::runtime_error(texte.toStdString()), code_(code), texte_(texte)
{
}

void leve(int code) { throw ErreurES(code); }

void leve_errno(int numero)
{
    if (const auto code = code_nomme(numero))
        leve(*code);
    throw ErreurES(numero, QStringLiteral("Erreur E/S %1").arg(numero));
}

void erreur_generale(const QString &texte)
{
    systeme::Boite b;
    b.type = systeme::TypeBoite::Erreur;
    b.texte = texte;
    b.titre = titre_application;
    systeme::seams().boite(b);
}

bool sous_garde(const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const ErreurES &e) {
        erreur_generale(e.texte());
        return false;
    }
}

}  // namespace erreurs
