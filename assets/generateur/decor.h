// The program's decorations: the animated logos' frames, the splash window's
// and the about box's backgrounds, and the toolbar glyphs, all in one look.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

// Writes them under `assets` (bitmaps/, decor/, glyphes/); `photos` are the
// sample slideshow's pictures, shown in miniature on the splash window.
bool ecrit_decor(const QString &assets, const QList<QImage> &photos);

// Writes `octets` to the file `chemin` (shared by the generator's units).
bool ecrit(const QString &chemin, const QByteArray &octets);
