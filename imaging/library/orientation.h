// Pictures stored turned, as cameras save them: the EXIF orientation tag says
// how the stored picture is turned upright. The tag is read and rewritten
// through libexif.
#pragma once

#include <QByteArray>
#include <QImage>

namespace sky {

// The orientation (1..8) an EXIF block ("Exif\0\0" and its TIFF structure, as an
// APP1 segment holds it) gives; 1 when it has none, an unknown value, or is damaged.
int exifOrientation(const uchar *data, qsizetype size);

// The block with its orientation set to 1; empty when it holds no orientation
// or could not be stored again.
QByteArray exifWithoutTurn(const QByteArray &block);

// `image` turned upright as `orientation` says, in its own format; 1 (and any
// unknown value) leaves it as it is. 5 to 8 swap its width and height.
QImage upright(const QImage &image, int orientation);

}  // namespace sky
