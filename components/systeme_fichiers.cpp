#include "systeme_fichiers.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QList<QRegularExpression> motifs(const QString &masque)
{
    QList<QRegularExpression> liste;
    for (const QString &motif : masque.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        liste.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(motif.trimmed()),
                                        QRegularExpression::CaseInsensitiveOption));
    return liste;
}

std::optional<QStringList> entrees(const QString &dossier, QDir::Filters genre)
{
    const QDir d(dossier);
    if (!QFileInfo(dossier).isDir() || !QFileInfo(dossier).isReadable() || !d.isReadable())
        return std::nullopt;
    return d.entryList(genre | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

}  // namespace

bool correspond_au_masque(const QString &nom, const QString &masque)
{
    for (const QRegularExpression &motif : motifs(masque))
        if (motif.match(nom).hasMatch())
            return true;
    return false;
}

std::optional<QStringList> fichiers_du_dossier(const QString &dossier, const QString &masque)
{
    const std::optional<QStringList> tous = entrees(dossier, QDir::Files);
    if (!tous)
        return std::nullopt;
    const QList<QRegularExpression> liste = motifs(masque);
    QStringList retenus;
    for (const QString &nom : *tous)
        for (const QRegularExpression &motif : liste)
            if (motif.match(nom).hasMatch()) {
                retenus.append(nom);
                break;
            }
    return retenus;
}

std::optional<QStringList> sous_dossiers(const QString &dossier) { return entrees(dossier, QDir::Dirs); }

QStringList ancetres(const QString &dossier)
{
    QStringList chaine;
    QDir d(QDir::cleanPath(QFileInfo(dossier).absoluteFilePath()));
    while (true) {
        chaine.prepend(d.absolutePath());
        if (d.isRoot() || !d.cdUp())
            break;
    }
    return chaine;
}
