#include "erreurs.h"

#include "systeme.h"

#include <QGuiApplication>
#include <cerrno>

namespace erreurs {

QString texte_erreur(int code)
{
    switch (code) {
    case FichierIntrouvable: return QStringLiteral("Fichier introuvable");
    case NomIncorrect: return QStringLiteral("Nom de fichier incorrect");
    case TropDeFichiers: return QStringLiteral("Trop de fichiers ouverts");
    case AccesRefuse: return QStringLiteral("Accès au fichier refusé");
    case FinDeFichier: return QStringLiteral("Lecture au delà de la fin de fichier");
    case DisquePlein: return QStringLiteral("Disque plein");
    default: return QStringLiteral("Erreur E/S %1").arg(code);
    }
}

int code_depuis_errno(int numero)
{
    switch (numero) {
    case ENOENT: return FichierIntrouvable;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case EISDIR:
    case EILSEQ: return NomIncorrect;
    case EMFILE:
    case ENFILE: return TropDeFichiers;
    case EACCES:
    case EPERM:
    case EROFS: return AccesRefuse;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return DisquePlein;
    default: return numero;
    }
}

ErreurES::ErreurES(int code)
    : std::runtime_error(texte_erreur(code).toStdString()), code_(code)
{
}

void leve(int code) { throw ErreurES(code); }

void leve_errno(int numero) { throw ErreurES(code_depuis_errno(numero)); }

void erreur_generale(const QString &texte)
{
    systeme::Boite b;
    b.type = systeme::TypeBoite::Erreur;
    b.texte = texte;
    b.titre = QGuiApplication::applicationDisplayName();
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
