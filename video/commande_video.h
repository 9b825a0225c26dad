// vistarama-video FICHIER.sli SORTIE.mp4 [--taille LxH] [--images-par-seconde N]
// [--attendre-fin-son]: the slideshow written as a video, with a progress bar on
// the terminal. Exit status: 0 when the video holds every slide as the show
// draws it, 1 when it could not be written or a picture or sound was missing
// (the video is then written all the same), 2 for a usage error.
#pragma once

#include <QStringList>
#include <QTextStream>

int lance_commande_video(const QStringList &arguments, QTextStream &out, QTextStream &err);
