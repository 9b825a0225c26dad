// How long a slide's wave sound lasts, read from its file's header, so that a show
// can wait for it without waiting on the sound device.
#pragma once

#include <QString>

namespace systeme {

// The length in milliseconds of the wave file `chemin`; 0 when it is missing, is
// not a wave file or holds no sound (a sound that cannot be played holds nothing).
// A data chunk longer than the file, as a recording cut short leaves it, counts
// what is there.
int duree_son_wav(const QString &chemin);

}  // namespace systeme
