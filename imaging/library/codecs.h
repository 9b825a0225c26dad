// Per-format pieces shared inside the library. fileInfo() picks the
// information reader by the file's signature; the BMP reader and the program's
// bitmap resources share the device-independent bitmap decoder.
#pragma once

#include "sky.h"
#include "skyio.h"

#include <QImage>
#include <QString>

namespace sky {

[[nodiscard]] int bmpInfo(const QString &path, FileInfo &info);
[[nodiscard]] int pcxInfo(const QString &path, FileInfo &info);
[[nodiscard]] int pngInfo(const QString &path, FileInfo &info);
[[nodiscard]] int jpegInfo(const QString &path, FileInfo &info);
[[nodiscard]] int gifInfo(const QString &path, FileInfo &info);
[[nodiscard]] int tiffInfo(const QString &path, FileInfo &info);

// A device-independent bitmap without file header: a 12-byte core header or a
// longer info header, its colour table, then its bits; `size` bytes at `data`.
// The picture comes back indexed (with its palette) or RGB888.
[[nodiscard]] int decodeDib(const uchar *data, qint64 size, QImage &out);

}  // namespace sky

namespace sky {

// Any picture read row by row as RGB888 without converting it whole: RGB888,
// indexed, black-and-white, grey and 32-bit pictures are read in place; other
// formats are converted once.
class RgbRows {
public:
    explicit RgbRows(const QImage &image);
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    // Row y as RGB888: a pointer into the picture or into `scratch` (width * 3 bytes).
    const uchar *row(int y, uchar *scratch) const;

private:
    QImage image_;
    QList<QRgb> colours_;
};

// Row y of an indexed (Indexed8) or black-and-white (Mono, MonoLSB) picture as
// palette indices packed at `bits` (1, 2, 4 or 8) per pixel, leftmost pixel in
// the high bits, as PNG, TIFF and BMP store them.
void packIndices(const QImage &image, int y, int bits, uchar *out);

// The 16 standard VGA colours, in the Windows order.
const QList<QRgb> &vgaPalette();

}  // namespace sky
