// JPEG pictures turned over without decoding them (the coded blocks are moved,
// so nothing of the picture is lost), and the quality a JPEG file was saved at.
#pragma once

#include <QByteArray>

namespace sky {

// `jpeg` flipped top to bottom (`flip`) and/or mirrored left to right (`mirror`)
// as it is shown, upright: a picture stored turned (its EXIF orientation) is
// turned upright too, and its orientation becomes 1; its other markers are kept. False, `out` untouched, when the data is not a JPEG or its
// size is not a whole number of coding blocks in a turned direction (the edge
// blocks could not be moved whole).
bool transformJpeg(const QByteArray &jpeg, bool flip, bool mirror, QByteArray &out);

// The quality (1..100) whose standard luminance table is nearest the file's own;
// 0 when the data holds no luminance table.
int jpegQuality(const QByteArray &jpeg);

}  // namespace sky
