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
// formats are converted once. Its rows may be read in any order.
class RgbRows final : public RowSource {
public:
    explicit RgbRows(const QImage &image);
    int width() const override { return image_.width(); }
    int height() const override { return image_.height(); }
    int densityX() const override { return sky::densityX(image_); }
    int densityY() const override { return sky::densityY(image_); }
    const uchar *row(int y, uchar *scratch) override { return rgbRow(y, scratch); }
    const uchar *rgbRow(int y, uchar *scratch) const;

private:
    QImage image_;
    QList<QRgb> colours_;
};

struct WriteOptions;
// The writers of true colour from rows being decoded (FormatRow::writeRows).
[[nodiscard]] int writeBmpRows(const QString &path, RowSource &rows, const WriteOptions &options,
                               const Progress &progress);
[[nodiscard]] int writePcxRows(const QString &path, RowSource &rows, const WriteOptions &options,
                               const Progress &progress);
[[nodiscard]] int writePngRows(const QString &path, RowSource &rows, const WriteOptions &options,
                               const Progress &progress);
[[nodiscard]] int writeJpegRows(const QString &path, RowSource &rows, const WriteOptions &options,
                                const Progress &progress);
[[nodiscard]] int writeTiffRows(const QString &path, RowSource &rows, const WriteOptions &options,
                                const Progress &progress);

// Opens the JPEG file `path` for decoding row by row and gives its rows to
// `use`: Unsupported, without calling it, for a file that is not a JPEG or
// that its EXIF orientation turns (its picture is then read whole).
[[nodiscard]] int withJpegRows(const QString &path, const std::function<int(RowSource &rows)> &use);
// The same for a PNG file: Unsupported for an interlaced one.
[[nodiscard]] int withPngRows(const QString &path, const std::function<int(RowSource &rows)> &use);
// The same for a TIFF file of strips of 8-bit RGB, grey or palette samples
// stored top row first; Unsupported for any other (tiles, separate planes,
// other depths, CMYK, YCbCr, JPEG coding, another orientation...).
[[nodiscard]] int withTiffRows(const QString &path, const std::function<int(RowSource &rows)> &use);

// Row y of an indexed (Indexed8) or black-and-white (Mono, MonoLSB) picture as
// palette indices packed at `bits` (1, 2, 4 or 8) per pixel, leftmost pixel in
// the high bits, as PNG, TIFF and BMP store them.
void packIndices(const QImage &image, int y, int bits, uchar *out);

// The 16 standard VGA colours, in the Windows order.
const QList<QRgb> &vgaPalette();

}  // namespace sky
