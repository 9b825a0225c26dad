// Short event sounds (the trash can's), each in a media stream of its own, gone
// when it ends: QSoundEffect on this Qt falls silent after a few plays.
#pragma once

#include <QString>

namespace systeme {

// Plays a wave file without waiting; a new sound cuts the one playing, a missing
// file gives the platform's beep.
void joue_son_court(const QString &chemin);

}  // namespace systeme
