// "Exporter en vidéo…" is a module of its own (vistarama-export-video.so), loaded
// the first time it is chosen, so that the program starts without FFmpeg's
// libraries, which only the export needs.
#pragma once

#include <QString>

class QWidget;

// The module of a program in `dossier_programme`: beside it, as in the build,
// else in the installed layout's lib/<multiarch>/vistarama, where it is named
// when it is in neither.
QString chemin_module_video(const QString &dossier_programme);

// The export of the open slideshow by the module `module`, loaded once and kept;
// when it cannot be loaded, a box tells so with the reason.
void exporte_par_le_module(QWidget *parent, bool attendre_fin_son, const QString &module);
