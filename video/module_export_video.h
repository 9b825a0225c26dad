// The one entry of the video export module. The program loads the module by
// name the first time "Exporter en vidéo…" is chosen, so that FFmpeg's libraries,
// which only the export needs, are not loaded at every start.
#pragma once

class QWidget;

extern "C" {
// TExportVideo::exporte of the program's open slideshow.
void vistarama_exporte_video(QWidget *parent, bool attendre_fin_son);
}

// The entry as the program finds it in the loaded module.
inline constexpr char NOM_ENTREE_EXPORT_VIDEO[] = "vistarama_exporte_video";
using EntreeExportVideo = void (*)(QWidget *parent, bool attendre_fin_son);
