// What the file-system controls show, without widgets: masks of several
// patterns, a folder's files and subfolders, the ancestors of a folder.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// True when `nom` matches one of the ";"-separated patterns of `masque`, whatever the case.
bool correspond_au_masque(const QString &nom, const QString &masque);

// The files of `dossier` that match `masque`, sorted without regard to case;
// nothing when the folder cannot be read.
std::optional<QStringList> fichiers_du_dossier(const QString &dossier, const QString &masque);
// The subfolders of `dossier`, sorted; nothing when it cannot be read.
std::optional<QStringList> sous_dossiers(const QString &dossier);
// The folders from the root down to `dossier` itself, as absolute paths.
QStringList ancetres(const QString &dossier);
