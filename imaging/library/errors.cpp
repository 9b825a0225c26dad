#include "sky.h"

#include <QDir>
#include <cstring>

namespace sky {

QString errorText(int status)
{
    switch (status) {
    case FileNotFound: return QStringLiteral("Fichier image introuvable");
    case CannotOpen: return QStringLiteral("Impossible d'ouvrir le fichier image");
    case CannotCreate: return QStringLiteral("Impossible de créer le fichier image");
    case ReadError: return QStringLiteral("Erreur de lecture du fichier image");
    case WriteError: return QStringLiteral("Erreur d'écriture du fichier image");
    case BadFormat: return QStringLiteral("Format de fichier image incorrect ou fichier endommagé");
    case Truncated: return QStringLiteral("Fichier image incomplet");
    case Unsupported: return QStringLiteral("Variante de format non prise en charge");
    case TooLarge: return QStringLiteral("Image trop grande");
    case BadDepth: return QStringLiteral("Nombre de couleurs non pris en charge");
    case BadArgument: return QStringLiteral("Paramètre incorrect");
    case OutOfMemory: return QStringLiteral("Mémoire insuffisante");
    case Stopped: return QStringLiteral("Opération interrompue");
    case EmptyPicture: return QStringLiteral("Aucune image");
    case NoScanner: return QStringLiteral("Aucun scanner disponible");
    case ScannerBusy: return QStringLiteral("Le scanner est occupé");
    case ScanFailed: return QStringLiteral("Echec de l'acquisition");
    case ScanCancelled: return QStringLiteral("Acquisition annulée");
    default:
        if (status > 0)
            return {};
        return QStringLiteral("Erreur inconnue de la bibliothèque d'images (%1)").arg(status);
    }
}

QString failureText(int status)
{
    const Failure failure = lastFailure();
    if (failure.error == 0)
        return errorText(status);
    return QStringLiteral("%1\n%2 : %3")
        .arg(errorText(status), QDir::toNativeSeparators(failure.path),
             QString::fromLocal8Bit(std::strerror(failure.error)));
}

}  // namespace sky
