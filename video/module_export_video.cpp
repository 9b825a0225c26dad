#include "module_export_video.h"

#include "Fexport_video.h"

#include <type_traits>

// Checked here: the program calls the entry through this type.
static_assert(std::is_same_v<decltype(&vistarama_exporte_video), EntreeExportVideo>);

void vistarama_exporte_video(QWidget *parent, bool attendre_fin_son) { TExportVideo::exporte(parent, attendre_fin_son); }
