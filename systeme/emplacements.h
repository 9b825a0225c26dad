// Where the program's files live. Its read-only files (help, the trash can's
// sounds, the sample slideshow, translations) sit beside the executable in
// ../share/vistarama, or for a program run from its build, in the source tree;
// never in the current folder. The user's own files follow the freedesktop
// base directories. Every folder is given with its final "/".
#pragma once

#include <QString>

namespace emplacements {

// The sample slideshow's name, in the read-only folder and in the user's copy.
inline const QString NOM_EXEMPLE = QStringLiteral("DEMO_KV.SLI");

// `../share/vistarama/` beside `dossier_programme` when it exists, else `dossier_sources`.
QString choisit_ressources(const QString &dossier_programme, const QString &dossier_sources);
// The read-only files' folder of this program.
QString dossier_ressources();
// $XDG_CONFIG_HOME/vistarama/, made when missing: SLI.CFG.
QString dossier_config();
// The start folder: the user's pictures folder when there is one, else the home folder.
QString dossier_depart();
// $XDG_DATA_HOME/vistarama/exemple/: the user's copy of the sample slideshow.
QString dossier_exemple();

// Copies the sample slideshow, with the pictures and sounds its slides name,
// from `source` into `cible` unless `cible` already holds it. The slideshow goes
// last, so that an interrupted copy is made again on the next start. The copies
// are the user's to change, whatever the rights of the originals. False when a
// file could not be copied.
bool copie_exemple(const QString &source, const QString &cible);

}  // namespace emplacements
