// BMP files and device-independent bitmaps: 1, 4, 8, 16, 24 and 32 bits,
// RLE8 and RLE4, core and info headers (up to version 5), bit fields,
// bottom-up and top-down rows. Written uncompressed at 1, 4, 8 or 24 bits.
#include "bytes.h"
#include "codecs.h"
#include "formats.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <vector>

namespace sky {

namespace {

enum Compression : quint32 {
    BiRgb = 0,
    BiRle8 = 1,
    BiRle4 = 2,
    BiBitfields = 3,
    BiJpeg = 4,
    BiPng = 5,
    BiAlphaBitfields = 6,
};

constexpr int kFileHeader = 14;
constexpr int kCoreHeader = 12;
constexpr int kInfoHeader = 40;
constexpr int kLongestHeader = 124;  // version 5

struct DibHeader {
    qint64 width = 0;
    qint64 height = 0;
    bool topDown = false;
    int bits = 0;
    quint32 compression = BiRgb;
    qint64 tableEntries = 0;  // colour table entries in the data
    int entrySize = 4;        // 3 for the core header
    qint64 ppmX = 0;
    std::array<quint32, 3> masks{};  // red, green, blue (16 and 32 bits)

    qint64 stride() const { return (width * bits + 31) / 32 * 4; }
    qint64 pixelBytes() const { return (width * bits + 7) / 8; }
    bool compressed() const { return compression == BiRle8 || compression == BiRle4; }
};

// Reads the header at the reader's position, and the masks that follow a
// short header; leaves the reader at the colour table.
int parseDibHeader(ByteReader &reader, DibHeader &dib)
{
    std::array<uchar, kLongestHeader> h{};
    if (!reader.read(h.data(), 4))
        return reader.shortReadStatus();
    const quint32 headerSize = le32(h.data());
    if (headerSize != kCoreHeader && (headerSize < 16 || headerSize > 4096))
        return BadFormat;
    const qint64 stored = std::min<qint64>(headerSize, kLongestHeader);
    if (!reader.read(h.data() + 4, stored - 4) || !reader.skip(headerSize - stored))
        return reader.shortReadStatus();

    if (headerSize == kCoreHeader) {
        dib.width = le16(h.data() + 4);
        dib.height = le16(h.data() + 6);
        dib.bits = le16(h.data() + 10);
        dib.entrySize = 3;
    } else {
        // Fields past a shortened header read as zero.
        const qint32 width = qint32(le32(h.data() + 4));
        const qint32 height = qint32(le32(h.data() + 8));
        if (height == std::numeric_limits<qint32>::min())
            return BadFormat;
        dib.width = width;
        dib.height = height < 0 ? -qint64(height) : height;
        dib.topDown = height < 0;
        dib.bits = le16(h.data() + 14);
        dib.compression = le32(h.data() + 16);
        dib.ppmX = qint32(le32(h.data() + 24));
        dib.tableEntries = le32(h.data() + 32);
    }
    if (dib.width <= 0 || dib.height <= 0)
        return BadFormat;

    switch (dib.bits) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    case 0: case 2: return Unsupported;
    default: return BadFormat;
    }
    switch (dib.compression) {
    case BiRgb:
        break;
    case BiRle8:
    case BiRle4:
        if (dib.bits != (dib.compression == BiRle8 ? 8 : 4))
            return BadFormat;
        break;
    case BiBitfields:
    case BiAlphaBitfields:
        if (dib.bits != 16 && dib.bits != 32)
            return Unsupported;
        break;
    case BiJpeg:
    case BiPng:
        return Unsupported;
    default:
        return BadFormat;
    }

    if (dib.compression == BiBitfields || dib.compression == BiAlphaBitfields) {
        // From version 2 on the masks are part of the header; before, they follow it.
        const int trailing = dib.compression == BiAlphaBitfields ? 16 : 12;
        if (headerSize < kInfoHeader + quint32(trailing)) {
            if (!reader.read(h.data() + kInfoHeader, trailing))
                return reader.shortReadStatus();
        }
        dib.masks = {le32(h.data() + 40), le32(h.data() + 44), le32(h.data() + 48)};
    } else if (dib.bits == 16) {
        dib.masks = {0x7C00, 0x03E0, 0x001F};
    } else {
        dib.masks = {0xFF0000, 0x00FF00, 0x0000FF};
    }

    if (dib.bits <= 8) {
        const qint64 full = qint64(1) << dib.bits;
        if (headerSize == kCoreHeader || dib.tableEntries == 0)
            dib.tableEntries = full;
        if (dib.tableEntries > full)
            return BadFormat;
    }
    return Ok;
}

// The 14-byte file header; `bitsOffset` is where the pixels start.
int readFileHeader(ByteReader &reader, qint64 &bitsOffset)
{
    uchar h[kFileHeader] = {};
    const qint64 got = std::min<qint64>(kFileHeader, reader.remaining());
    if (!reader.read(h, got))
        return reader.shortReadStatus();
    if (got < 2 || h[0] != 'B' || h[1] != 'M')
        return BadFormat;
    if (got < kFileHeader)
        return Truncated;
    bitsOffset = le32(h + 10);
    return Ok;
}

QVector<QRgb> readColourTable(ByteReader &reader, const DibHeader &dib, qint64 entries, int &status)
{
    std::vector<uchar> bytes(static_cast<size_t>(entries * dib.entrySize));
    QVector<QRgb> palette;
    if (!reader.read(bytes.data(), qint64(bytes.size()))) {
        status = reader.shortReadStatus();
        return palette;
    }
    palette.reserve(entries);
    for (qint64 i = 0; i < entries; ++i) {
        const uchar *e = bytes.data() + i * dib.entrySize;
        palette.append(qRgb(e[2], e[1], e[0]));
    }
    status = Ok;
    return palette;
}

// One colour channel of a bit-field pixel, scaled to 0..255.
struct Channel {
    explicit Channel(quint32 mask)
        : mask(mask), shift(mask ? std::countr_zero(mask) : 0), max(mask ? mask >> shift : 0)
    {
    }
    uchar operator()(quint32 pixel) const
    {
        return max ? uchar((quint64((pixel & mask) >> shift) * 255 + max / 2) / max) : 0;
    }
    quint32 mask;
    int shift;
    quint64 max;
};

class RowConverter {
public:
    explicit RowConverter(const DibHeader &dib) : dib_(dib)
    {
        const Channel r(dib.masks[0]), g(dib.masks[1]), b(dib.masks[2]);
        if (dib.bits == 16) {
            lookup_.resize(65536 * 3);
            for (quint32 v = 0; v < 65536; ++v) {
                lookup_[v * 3] = r(v);
                lookup_[v * 3 + 1] = g(v);
                lookup_[v * 3 + 2] = b(v);
            }
        }
        standard32_ = dib.masks == std::array<quint32, 3>{0xFF0000, 0x00FF00, 0x0000FF};
    }

    void operator()(const uchar *src, uchar *dst) const
    {
        const qint64 w = dib_.width;
        switch (dib_.bits) {
        case 16:
            for (qint64 x = 0; x < w; ++x, dst += 3)
                std::memcpy(dst, &lookup_[size_t(le16(src + 2 * x)) * 3], 3);
            break;
        case 24:
            for (qint64 x = 0; x < w; ++x, src += 3, dst += 3) {
                dst[0] = src[2];
                dst[1] = src[1];
                dst[2] = src[0];
            }
            break;
        case 32:
            if (standard32_) {
                for (qint64 x = 0; x < w; ++x, src += 4, dst += 3) {
                    dst[0] = src[2];
                    dst[1] = src[1];
                    dst[2] = src[0];
                }
            } else {
                const Channel r(dib_.masks[0]), g(dib_.masks[1]), b(dib_.masks[2]);
                for (qint64 x = 0; x < w; ++x, dst += 3) {
                    const quint32 v = le32(src + 4 * x);
                    dst[0] = r(v);
                    dst[1] = g(v);
                    dst[2] = b(v);
                }
            }
            break;
        default:
            unpackIndices(src, int(w), dib_.bits, dst);
            break;
        }
    }

private:
    const DibHeader &dib_;
    std::vector<uchar> lookup_;
    bool standard32_ = false;
};

uchar *rowOf(QImage &image, const DibHeader &dib, qint64 fileRow)
{
    return image.scanLine(int(dib.topDown ? fileRow : dib.height - 1 - fileRow));
}

int decodeUncompressed(ByteReader &reader, const DibHeader &dib, QImage &image,
                       ProgressTracker &tracker)
{
    const qint64 stride = dib.stride();
    std::vector<uchar> row(static_cast<size_t>(stride));
    const RowConverter convert(dib);
    for (qint64 i = 0; i < dib.height; ++i) {
        // The last row may lack its padding.
        const qint64 available = std::min(stride, reader.remaining());
        if (available < dib.pixelBytes() || !reader.read(row.data(), available))
            return reader.shortReadStatus();
        convert(row.data(), rowOf(image, dib, i));
        if (!tracker.step(i + 1))
            return Stopped;
    }
    return Ok;
}

// RLE8 and RLE4: runs, absolute runs, end of line, deltas and end of bitmap.
// Pixels a delta or an end of line skip keep index 0; anything drawn outside
// the picture makes the file damaged, a stream ending before the last row
// incomplete. `highest` is the highest index drawn.
int decodeRle(ByteReader &reader, const DibHeader &dib, QImage &image, ProgressTracker &tracker,
              int &highest)
{
    highest = 0;
    const bool four = dib.compression == BiRle4;
    image.fill(0);
    qint64 x = 0, row = 0;
    uchar literal[256];
    for (;;) {
        const int count = reader.byte();
        const int value = reader.byte();
        if (value < 0)
            return row >= dib.height ? Ok : reader.shortReadStatus();
        if (count > 0 || value > 2) {
            const int n = count > 0 ? count : value;
            if (row >= dib.height || x + n > dib.width)
                return BadFormat;
            uchar *line = rowOf(image, dib, row) + x;
            if (count > 0) {
                if (four) {
                    for (int i = 0; i < n; ++i)
                        line[i] = uchar(i & 1 ? value & 15 : value >> 4);
                    highest = std::max({highest, value >> 4, n > 1 ? value & 15 : 0});
                } else {
                    std::memset(line, value, size_t(n));
                    highest = std::max(highest, value);
                }
            } else {
                const int bytes = four ? (n + 1) / 2 : n;
                if (!reader.read(literal, bytes))
                    return reader.shortReadStatus();
                unpackIndices(literal, n, four ? 4 : 8, line);
                highest = std::max<int>(highest, *std::max_element(line, line + n));
                if (bytes & 1)
                    reader.byte();  // absolute runs keep 16-bit alignment
            }
            x += n;
        } else if (value == 0) {
            ++row;
            x = 0;
            if (!tracker.step(row))
                return Stopped;
        } else if (value == 1) {
            // An end of bitmap before the last row leaves rows never drawn: the
            // file was cut, it does not describe a picture of index 0.
            return row + 1 >= dib.height ? Ok : int(Truncated);
        } else {
            const int dx = reader.byte();
            const int dy = reader.byte();
            if (dy < 0)
                return reader.shortReadStatus();
            x += dx;
            row += dy;
            if (x > dib.width || row > dib.height)
                return BadFormat;
            if (dy > 0 && !tracker.step(row))
                return Stopped;
        }
    }
}

int highestIndex(const QImage &indexed)
{
    int highest = 0;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar *row = indexed.constScanLine(y);
        highest = std::max<int>(highest, *std::max_element(row, row + indexed.width()));
    }
    return highest;
}

// Decodes the bitmap whose header is at the reader's position. `bitsOffset`
// is where the pixels start (from the file header), or negative when they
// follow the colour table.
int decodeDibAt(ByteReader &reader, qint64 bitsOffset, QImage &out, const Progress &progress)
{
    out = QImage();
    DibHeader dib;
    int status = parseDibHeader(reader, dib);
    if (!succeeded(status))
        return status;
    status = checkDecodedSize(dib.width, dib.height);
    if (!succeeded(status))
        return status;

    // An offset pointing into the headers is wrong: the pixels then follow the table.
    const qint64 tableStart = reader.pos();
    const bool offsetKnown = bitsOffset >= tableStart;
    if (offsetKnown && bitsOffset > reader.size())
        return Truncated;
    QVector<QRgb> palette;
    if (dib.bits <= 8) {
        const qint64 room = offsetKnown ? (bitsOffset - tableStart) / dib.entrySize : dib.tableEntries;
        palette = readColourTable(reader, dib, std::min(dib.tableEntries, room), status);
        if (!succeeded(status))
            return status;
    }
    const bool skipped = offsetKnown ? reader.seek(bitsOffset)
                                     : dib.bits <= 8 || reader.skip(dib.tableEntries * dib.entrySize);
    if (!skipped)
        return reader.shortReadStatus();

    // Uncompressed pixels must all be there (the last row may lack its padding)
    // before a picture is allocated for them.
    if (!dib.compressed() && reader.remaining() < dib.stride() * (dib.height - 1) + dib.pixelBytes())
        return Truncated;
    QImage image = newPicture(int(dib.width), int(dib.height),
                 dib.bits <= 8 ? QImage::Format_Indexed8 : QImage::Format_RGB888);
    if (image.isNull())
        return OutOfMemory;
    ProgressTracker tracker(progress, dib.height);
    int highest = 0;
    status = dib.compressed() ? decodeRle(reader, dib, image, tracker, highest)
                              : decodeUncompressed(reader, dib, image, tracker);
    if (!succeeded(status))
        return status;
    if (dib.bits <= 8) {
        // A short colour table (damaged file) is widened by black entries up
        // to the highest index used, so that every pixel names a colour.
        if (palette.size() < (1 << dib.bits) && !dib.compressed())
            highest = highestIndex(image);
        if (highest >= palette.size())
            palette.resize(highest + 1, qRgb(0, 0, 0));
        image.setColorTable(palette);
    }
    setDensity(image, dib.ppmX, dib.ppmX);
    out = image;
    return Ok;
}

QString compressionName(quint32 compression)
{
    switch (compression) {
    case BiRle8: return QStringLiteral("RLE8");
    case BiRle4: return QStringLiteral("RLE4");
    case BiBitfields:
    case BiAlphaBitfields: return QStringLiteral("Bitfields");
    default: return QStringLiteral("None");
    }
}

// A row of the written file, in blue-green-red order or as packed indices;
// null when the rows' source failed.
const uchar *packRow(const QImage &picture, RowSource &rows, int y, int bits, uchar *row)
{
    if (bits != 24) {
        packIndices(picture, y, bits, row);
        return row;
    }
    const uchar *src = rows.row(y, row);
    if (!src)
        return nullptr;
    // In place when the source gave the row in `row` itself.
    for (int x = 0; x < rows.width(); ++x, src += 3) {
        const uchar red = src[0];
        row[3 * x] = src[2];
        row[3 * x + 1] = src[1];
        row[3 * x + 2] = red;
    }
    return row;
}

}  // namespace

int decodeDib(const uchar *data, qint64 size, QImage &out)
{
    ByteReader reader(data, size);
    return decodeDibAt(reader, -1, out, {});
}

int decodeBmp(ByteReader &reader, QImage &out, const Progress &progress)
{
    out = QImage();
    qint64 bitsOffset = 0;
    const int status = readFileHeader(reader, bitsOffset);
    return !succeeded(status) ? status : decodeDibAt(reader, bitsOffset, out, progress);
}

int decodeBmp(const uchar *data, qint64 size, QImage &out, const Progress &progress)
{
    ByteReader reader(data, size);
    return decodeBmp(reader, out, progress);
}

namespace {

// `picture` gives the palette and the indices below 24 bits, `rows` the true colour.
int encodeBmpFile(const QImage &picture, RowSource &rows, int bits, OutputFile &file, ProgressTracker &tracker)
{
    const int fileBits = bits == 0 ? 4 : bits;
    QVector<QRgb> palette;
    if (fileBits <= 8) {
        palette = paletteOf(picture);
        if (picture.depth() > 8 || palette.size() > (1 << fileBits))
            return BadArgument;
    }
    const qint64 width = rows.width(), height = rows.height();
    const qint64 stride = (width * fileBits + 31) / 32 * 4;
    const qint64 offset = kFileHeader + kInfoHeader + 4 * qint64(palette.size());
    if (offset + stride * height > std::numeric_limits<quint32>::max())
        return TooLarge;

    std::vector<uchar> head(size_t(offset), 0);
    uchar *h = head.data();
    h[0] = 'B';
    h[1] = 'M';
    putLe32(h + 2, quint32(offset + stride * height));
    putLe32(h + 10, quint32(offset));
    uchar *info = h + kFileHeader;
    putLe32(info, kInfoHeader);
    putLe32(info + 4, quint32(width));
    putLe32(info + 8, quint32(height));
    putLe16(info + 12, 1);
    putLe16(info + 14, quint32(fileBits));
    putLe32(info + 16, BiRgb);
    putLe32(info + 20, quint32(stride * height));
    putLe32(info + 24, quint32(rows.densityX()));
    putLe32(info + 28, quint32(rows.densityY()));
    putLe32(info + 32, quint32(palette.size()));
    uchar *table = info + kInfoHeader;
    for (const QRgb colour : palette) {
        table[0] = uchar(qBlue(colour));
        table[1] = uchar(qGreen(colour));
        table[2] = uchar(qRed(colour));
        table += 4;
    }
    if (!file.write(head.data(), head.size()))
        return WriteError;

    // The file holds its rows bottom-up, padded to 4 bytes. They are read top
    // down (as a picture being decoded gives them) in chunks of about a
    // megabyte, each chunk reversed and written at its place in the file.
    const qint64 chunkRows = std::max<qint64>(1, (1 << 20) / stride);
    std::vector<uchar> chunk(size_t(std::min(chunkRows, height) * stride), 0);
    for (qint64 top = 0; top < height; top += chunkRows) {
        const qint64 count = std::min(chunkRows, height - top);
        for (qint64 j = 0; j < count; ++j) {
            uchar *row = chunk.data() + (count - 1 - j) * stride;
            if (!packRow(picture, rows, int(top + j), fileBits, row))
                return rows.status();
            if (!tracker.step(top + j + 1))
                return Stopped;
        }
        if (fseeko(file.handle(), off_t(offset + (height - top - count) * stride), SEEK_SET) != 0 ||
            !file.write(chunk.data(), size_t(count * stride)))
            return WriteError;
    }
    return Ok;
}

}  // namespace

int encodeBmp(const QImage &source, int bits, OutputFile &file, ProgressTracker &tracker)
{
    RgbRows rows(source);
    return encodeBmpFile(source, rows, bits, file, tracker);
}

int writeBmpRows(const QString &path, RowSource &rows, const WriteOptions &, const Progress &progress)
{
    return writeRows(path, rows, progress, 0, [](RowSource &source, OutputFile &file, ProgressTracker &tracker) {
        return encodeBmpFile({}, source, 24, file, tracker);
    });
}

int readBmp(const QString &path, int bits, bool dither, QImage &out, const Progress &progress)
{
    return readPicture(path, bits, dither, out, [&](FILE *file, QImage &decoded) {
        ByteReader reader(file);
        return decodeBmp(reader, decoded, progress);
    });
}

int writeBmp(const QString &path, int bits, const QImage &image, const Progress &progress)
{
    return writePicture(path, bits, image, progress, {bits},
                        [bits](const QImage &picture, OutputFile &file, ProgressTracker &tracker) {
                            return encodeBmp(picture, bits, file, tracker);
                        });
}

int bmpInfo(const QString &path, FileInfo &info)
{
    DibHeader dib;
    const int status = readFile(path, [&](FILE *file) {
        ByteReader reader(file);
        qint64 bitsOffset = 0;
        const int header = readFileHeader(reader, bitsOffset);
        return succeeded(header) ? parseDibHeader(reader, dib) : header;
    });
    if (!succeeded(status))
        return status;
    info.type = QStringLiteral("BMP");
    info.width = int(dib.width);
    info.height = int(dib.height);
    info.bitsPerPixel = dib.bits;
    info.density = dpiFromPpm(dib.ppmX);
    info.colors = dib.bits <= 8 ? int(dib.tableEntries) : dib.bits == 16 ? 65536 : 16777216;
    info.compression = compressionName(dib.compression);
    return Ok;
}

}  // namespace sky
