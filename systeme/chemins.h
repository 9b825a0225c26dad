// Paths as the program stores and shows them. Stored paths may come from
// another system, so both "/" and "\" end a folder name wherever a name is cut.
#pragma once

#include <QString>
#include <optional>

bool est_separateur(QChar c);

// The name part of a path (after the last separator or space); "Pas de photo" for an empty path.
QString extrait_fichier(const QString &chemin);
// The file name of a path: after its last "/" or "\".
QString nom_seul(const QString &chemin);
// The file name of a path whose folder part may also end at a drive's ":".
QString nom_sans_lecteur(const QString &chemin);
// The upper-case file name up to its first dot, cut to 13 characters: the name
// under which a converted picture is written ("photo1.bmp" gives "PHOTO1").
QString nom_de_base_converti(const QString &chemin);

// True unless the file is missing (one that exists but cannot be opened counts as present).
bool fichier_present(const QString &nom);

// The stored form of a path relocated into `dossier`: the full path when it fits
// the 80-byte field, else the bare name (found in the current folder). Empty when the name cannot be stored in Windows-1252.
QString chemin_relocalise(const QString &dossier, const QString &chemin);

// How a chosen picture or sound is kept in its 80-byte field: the path itself when
// it fits, else its form relative to the slideshow's folder `dossier` when that
// fits; nothing when neither fits or the path has a character Windows-1252 lacks.
std::optional<QString> chemin_a_stocker(const QString &chemin, const QString &dossier);
