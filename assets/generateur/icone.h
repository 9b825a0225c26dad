// The program's icon: a slide mount holding a sunset over the sea, the sample's
// first picture, drawn at each size the desktop asks for.
#pragma once

#include <QString>

// Writes icone/vistarama-N.png under `assets` for each size of the hicolor theme.
bool ecrit_icone(const QString &assets);
