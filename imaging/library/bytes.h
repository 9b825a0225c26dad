// Byte-level plumbing of the formats the library decodes itself: a buffered
// reader over a file or a memory block, little-endian fields, densities and
// packed palette indices.
#pragma once

#include "sky.h"
#include "skyio.h"

#include <QImage>
#include <QRgb>
#include <QVector>
#include <cstdio>
#include <vector>

namespace sky {

inline quint16 le16(const uchar *p) { return quint16(p[0] | p[1] << 8); }
inline quint32 le32(const uchar *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}
inline void putLe16(uchar *p, quint32 v)
{
    p[0] = uchar(v);
    p[1] = uchar(v >> 8);
}
inline void putLe32(uchar *p, quint32 v)
{
    putLe16(p, v);
    putLe16(p + 2, v >> 16);
}

// Sequential reads with seeking, over a memory block or an open file (read
// through a buffer of its own). Reads past the end fail; nothing is ever read
// outside the block.
class ByteReader {
public:
    ByteReader(const uchar *data, qint64 size);
    explicit ByteReader(FILE *file);
    ByteReader(const ByteReader &) = delete;
    ByteReader &operator=(const ByteReader &) = delete;

    qint64 size() const { return size_; }
    qint64 pos() const { return base_ + (cur_ - begin_); }
    qint64 remaining() const { return size_ - pos(); }
    bool seek(qint64 pos);
    // Ends the data at `end` (not before the current position): what follows
    // is out of reach.
    void limit(qint64 end);
    bool skip(qint64 count) { return count >= 0 && count <= remaining() && seek(pos() + count); }
    // Reads exactly `count` bytes, or fails.
    bool read(void *destination, qint64 count);
    // The next byte, or -1 at the end.
    int byte()
    {
        if (cur_ == end_ && !refill())
            return -1;
        return *cur_++;
    }
    // The status for a read that came up short: ReadError after an input
    // error, Truncated at the end of the data.
    int shortReadStatus() const { return ioError_ ? ReadError : Truncated; }

private:
    bool refill();

    FILE *file_ = nullptr;
    std::vector<uchar> buffer_;
    const uchar *begin_ = nullptr;  // first byte of the window, at offset base_
    const uchar *cur_ = nullptr;
    const uchar *end_ = nullptr;
    qint64 base_ = 0;
    qint64 size_ = 0;
    bool ioError_ = false;
};

// Decoders of the formats read here: from a reader to a picture at the file's
// own depth (Indexed8 with its palette, or RGB888). Encoders: a picture
// already at `bits` depth (see sky.h) into `file`.
[[nodiscard]] int decodeBmp(ByteReader &reader, QImage &out, const Progress &progress);
[[nodiscard]] int decodePcx(ByteReader &reader, QImage &out, const Progress &progress);
[[nodiscard]] int encodeBmp(const QImage &picture, int bits, OutputFile &file, ProgressTracker &progress);
[[nodiscard]] int encodePcx(const QImage &picture, int bits, OutputFile &file, ProgressTracker &progress);

// The same decoders over a memory block (fuzzing, tests).
[[nodiscard]] int decodeBmp(const uchar *data, qint64 size, QImage &out, const Progress &progress = {});
[[nodiscard]] int decodePcx(const uchar *data, qint64 size, QImage &out, const Progress &progress = {});


// Dots per inch from pixels per metre and back, 0 meaning "none".
[[nodiscard]] int dpiFromPpm(qint64 ppm);
[[nodiscard]] int ppmFromDpi(int dpi);

// The palette of an indexed or 1-bit picture (black and white when a 1-bit
// picture has none).
QVector<QRgb> paletteOf(const QImage &picture);

// Pixels of 1, 2, 4 or 8 bits packed from the high bits of each byte down, to
// one index a byte (packIndices in codecs.h goes the other way).
void unpackIndices(const uchar *packed, int width, int bits, uchar *indices);

}  // namespace sky
