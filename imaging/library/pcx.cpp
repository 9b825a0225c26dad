// PCX files: 1 bit, 2 to 4 bit-planes (EGA palette in the header), 2 and 4
// bits packed, 8 bits with the 256-colour palette at the end, 24 bits as
// three planes (a fourth, alpha, plane is ignored). Run-length coded both ways.
#include "bytes.h"
#include "codecs.h"
#include "formats.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace sky {

namespace {

constexpr int kHeader = 128;
constexpr int kPaletteMarker = 0x0C;
constexpr int kEndPalette = 1 + 256 * 3;
constexpr int kLongestRun = 63;

struct PcxHeader {
    int version = 0;
    bool rle = true;
    int bitsPerPixel = 0;  // per plane
    int planes = 0;
    qint64 width = 0;
    qint64 height = 0;
    qint64 bytesPerLine = 0;  // per plane
    int dpi = 0;
    uchar palette[48] = {};

    int bits() const { return bitsPerPixel * planes; }
    bool indexedInHeader() const { return bits() <= 4; }
    bool trueColour() const { return bitsPerPixel == 8 && planes >= 3; }
};

// The standard 16 EGA colours, for files that carry no palette (version 3).
constexpr QRgb kEgaColours[16] = {
    0xff000000, 0xff0000aa, 0xff00aa00, 0xff00aaaa, 0xffaa0000, 0xffaa00aa,
    0xffaa5500, 0xffaaaaaa, 0xff555555, 0xff5555ff, 0xff55ff55, 0xff55ffff,
    0xffff5555, 0xffff55ff, 0xffffff55, 0xffffffff,
};

int readHeader(ByteReader &reader, PcxHeader &pcx)
{
    uchar h[kHeader] = {};
    const qint64 got = std::min<qint64>(kHeader, reader.remaining());
    if (!reader.read(h, got))
        return reader.shortReadStatus();
    if (got < 4 || h[0] != 0x0A || h[1] > 5 || h[1] == 1 || h[2] > 1)
        return BadFormat;
    if (got < kHeader)
        return Truncated;
    pcx.version = h[1];
    pcx.rle = h[2] == 1;
    pcx.bitsPerPixel = h[3];
    pcx.width = qint64(le16(h + 8)) - le16(h + 4) + 1;
    pcx.height = qint64(le16(h + 10)) - le16(h + 6) + 1;
    pcx.dpi = le16(h + 12);
    std::memcpy(pcx.palette, h + 16, sizeof pcx.palette);
    pcx.planes = h[65];
    pcx.bytesPerLine = le16(h + 66);
    if (pcx.width <= 0 || pcx.height <= 0)
        return BadFormat;

    const int bpp = pcx.bitsPerPixel, planes = pcx.planes;
    const bool known = (bpp == 1 && planes >= 1 && planes <= 4) || ((bpp == 2 || bpp == 4) && planes == 1) ||
                       (bpp == 8 && (planes == 1 || planes == 3 || planes == 4));
    if (!known)
        return (bpp == 1 || bpp == 2 || bpp == 4 || bpp == 8) && planes >= 1 && planes <= 4 ? Unsupported
                                                                                            : BadFormat;
    if (pcx.bytesPerLine < (pcx.width * bpp + 7) / 8)
        return BadFormat;
    return Ok;
}

QVector<QRgb> headerPalette(const PcxHeader &pcx)
{
    const int count = 1 << pcx.bits();
    QVector<QRgb> palette;
    const uchar *p = pcx.palette;
    const bool blank = pcx.version == 3 || (count == 2 && std::equal(p, p + 3, p + 3));
    for (int i = 0; i < count; ++i) {
        if (!blank)
            palette.append(qRgb(p[3 * i], p[3 * i + 1], p[3 * i + 2]));
        else if (count == 2)
            palette.append(i ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
        else
            palette.append(kEgaColours[i]);
    }
    return palette;
}

// The 256 colours after the pixels, behind their marker; a file without them
// (from before version 5) is read in grey levels. The reader's data then stops
// before them.
QVector<QRgb> endPalette(ByteReader &reader, int &status)
{
    QVector<QRgb> palette;
    const qint64 start = reader.pos();
    const qint64 at = reader.size() - kEndPalette;
    uchar bytes[kEndPalette];
    const bool present = at >= start && reader.seek(at) && reader.read(bytes, kEndPalette) &&
                         bytes[0] == kPaletteMarker;
    for (int i = 0; i < 256; ++i)
        palette.append(present ? qRgb(bytes[1 + 3 * i], bytes[2 + 3 * i], bytes[3 + 3 * i]) : qRgb(i, i, i));
    if (!reader.seek(start)) {
        status = reader.shortReadStatus();
        return palette;
    }
    if (present)
        reader.limit(at);
    status = Ok;
    return palette;
}

// Run-length decoding of successive scan lines; a run may go on into the next line.
class LineDecoder {
public:
    LineDecoder(ByteReader &reader, bool rle) : reader_(reader), rle_(rle) {}

    bool next(uchar *line, qint64 size)
    {
        if (!rle_)
            return reader_.read(line, size);
        qint64 i = 0;
        while (i < size) {
            if (pending_ > 0) {
                const qint64 n = std::min<qint64>(pending_, size - i);
                std::memset(line + i, value_, size_t(n));
                i += n;
                pending_ -= int(n);
                continue;
            }
            const int c = reader_.byte();
            if (c < 0)
                return false;
            if ((c & 0xC0) == 0xC0) {
                const int v = reader_.byte();
                if (v < 0)
                    return false;
                pending_ = c & 0x3F;
                value_ = uchar(v);
            } else {
                line[i++] = uchar(c);
            }
        }
        return true;
    }

private:
    ByteReader &reader_;
    bool rle_;
    int pending_ = 0;
    uchar value_ = 0;
};

// One scan line (all its planes) to a row of the picture.
void convertLine(const PcxHeader &pcx, const uchar *line, uchar *row)
{
    const qint64 w = pcx.width, bpl = pcx.bytesPerLine;
    if (pcx.trueColour()) {
        for (qint64 x = 0; x < w; ++x, row += 3) {
            row[0] = line[x];
            row[1] = line[bpl + x];
            row[2] = line[2 * bpl + x];
        }
    } else if (pcx.planes == 1) {
        unpackIndices(line, int(w), pcx.bitsPerPixel, row);
    } else {
        std::memset(row, 0, size_t(w));
        for (int plane = 0; plane < pcx.planes; ++plane) {
            const uchar *bits = line + plane * bpl;
            for (qint64 x = 0; x < w; ++x)
                row[x] |= uchar((bits[x >> 3] >> (7 - (x & 7)) & 1) << plane);
        }
    }
}

int runLength(const uchar *data, qint64 size, uchar *out)
{
    uchar *start = out;
    for (qint64 i = 0; i < size;) {
        const uchar v = data[i];
        qint64 run = 1;
        while (i + run < size && run < kLongestRun && data[i + run] == v)
            ++run;
        if (run > 1 || v >= 0xC0)
            *out++ = uchar(0xC0 | run);
        *out++ = v;
        i += run;
    }
    return int(out - start);
}

// Row y split into the file's planes; false when the rows' source failed.
bool splitRow(const QImage &picture, RowSource &rows, int y, int bits, qint64 bpl, uchar *planes, uchar *indices)
{
    const int w = rows.width();
    std::memset(planes, 0, size_t(bpl * (bits == 24 ? 3 : bits == 4 ? 4 : 1)));
    if (bits == 24) {
        const uchar *src = rows.row(y, indices);
        if (!src)
            return false;
        for (int x = 0; x < w; ++x, src += 3) {
            planes[x] = src[0];
            planes[bpl + x] = src[1];
            planes[2 * bpl + x] = src[2];
        }
        return true;
    }
    if (bits != 4) {
        packIndices(picture, y, bits, planes);
        return true;
    }
    packIndices(picture, y, 8, indices);
    for (int x = 0; x < w; ++x) {
        const uchar bit = uchar(0x80 >> (x & 7));
        for (int plane = 0; plane < 4; ++plane)
            if (indices[x] >> plane & 1)
                planes[plane * bpl + (x >> 3)] |= bit;
    }
    return true;
}

}  // namespace

int decodePcx(ByteReader &reader, QImage &out, const Progress &progress)
{
    out = QImage();
    PcxHeader pcx;
    int status = readHeader(reader, pcx);
    if (!succeeded(status))
        return status;
    status = checkDecodedSize(pcx.width, pcx.height);
    if (!succeeded(status))
        return status;
    QVector<QRgb> palette;
    if (pcx.indexedInHeader())
        palette = headerPalette(pcx);
    else if (!pcx.trueColour())
        palette = endPalette(reader, status);
    if (!succeeded(status))
        return status;

    // A run gives at most 63 bytes for 2: a file too short for its picture is
    // refused before the picture is allocated.
    const qint64 total = pcx.bytesPerLine * pcx.planes * pcx.height;
    const qint64 left = reader.remaining();
    if ((pcx.rle ? left / 2 * kLongestRun + left % 2 : left) < total)
        return Truncated;
    QImage image(int(pcx.width), int(pcx.height),
                 pcx.trueColour() ? QImage::Format_RGB888 : QImage::Format_Indexed8);
    if (image.isNull())
        return OutOfMemory;
    std::vector<uchar> line(static_cast<size_t>(pcx.bytesPerLine * pcx.planes));
    LineDecoder decoder(reader, pcx.rle);
    ProgressTracker tracker(progress, pcx.height);
    for (int y = 0; y < image.height(); ++y) {
        if (!decoder.next(line.data(), qint64(line.size())))
            return reader.shortReadStatus();
        convertLine(pcx, line.data(), image.scanLine(y));
        if (!tracker.step(y + 1))
            return Stopped;
    }
    if (!pcx.trueColour())
        image.setColorTable(palette);  // 2^bits colours: every index has one
    setDensity(image, ppmFromDpi(pcx.dpi), ppmFromDpi(pcx.dpi));
    out = image;
    return Ok;
}

int decodePcx(const uchar *data, qint64 size, QImage &out, const Progress &progress)
{
    ByteReader reader(data, size);
    return decodePcx(reader, out, progress);
}

namespace {

// `picture` gives the palette and the indices below 24 bits, `rows` the true colour.
int encodePcxFile(const QImage &picture, RowSource &rows, int bits, OutputFile &file, ProgressTracker &tracker)
{
    const int fileBits = bits == 0 ? 4 : bits;
    const int bitsPerPixel = fileBits == 1 || fileBits == 4 ? 1 : 8;
    const int planes = fileBits == 24 ? 3 : fileBits == 4 ? 4 : 1;
    QVector<QRgb> palette;
    if (fileBits <= 8) {
        palette = paletteOf(picture);
        if (picture.depth() > 8 || palette.size() > (1 << fileBits))
            return BadArgument;
    }
    const int width = rows.width(), height = rows.height();
    if (width > 65536 || height > 65536)
        return TooLarge;
    const qint64 bpl = ((qint64(width) * bitsPerPixel + 7) / 8 + 1) & ~qint64(1);
    if (bpl > 65535)
        return TooLarge;

    const qint64 lineBytes = bpl * planes;
    std::vector<uchar> planesOfRow(static_cast<size_t>(lineBytes));
    std::vector<uchar> indices(static_cast<size_t>(width) * (fileBits == 24 ? 3 : 1));
    std::vector<uchar> chunk(static_cast<size_t>(std::max<qint64>(1 << 20, 2 * lineBytes) + 2 * lineBytes));
    const auto encodeLine = [&](int y, bool rle, uchar *out) -> qint64 {
        if (!splitRow(picture, rows, y, fileBits, bpl, planesOfRow.data(), indices.data()))
            return -1;
        if (!rle) {
            std::memcpy(out, planesOfRow.data(), size_t(lineBytes));
            return lineBytes;
        }
        qint64 filled = 0;
        for (int plane = 0; plane < planes; ++plane)
            filled += runLength(planesOfRow.data() + plane * bpl, bpl, out + filled);
        return filled;
    };
    // Grain in photographs makes runs rare, and every byte from 0xC0 up costs
    // two: such pictures are written uncompressed when a sample of their first
    // rows comes out larger coded.
    const RowSample sample = sampleFirstRows(rows, lineBytes);
    qint64 coded = 0, plain = 0;
    for (int y = sample.first; y < sample.end; y += sample.step) {
        const qint64 line = encodeLine(y, true, chunk.data());
        if (line < 0)
            return rows.status();
        coded += line;
        plain += lineBytes;
    }
    const bool rle = coded <= plain;

    uchar h[kHeader] = {};
    h[0] = 0x0A;
    h[1] = 5;
    h[2] = rle ? 1 : 0;
    h[3] = uchar(bitsPerPixel);
    putLe16(h + 8, quint32(width - 1));
    putLe16(h + 10, quint32(height - 1));
    putLe16(h + 12, quint32(std::min(dpiFromPpm(rows.densityX()), 65535)));
    putLe16(h + 14, quint32(std::min(dpiFromPpm(rows.densityY()), 65535)));
    if (fileBits <= 4) {
        for (int i = 0; i < palette.size(); ++i) {
            h[16 + 3 * i] = uchar(qRed(palette[i]));
            h[17 + 3 * i] = uchar(qGreen(palette[i]));
            h[18 + 3 * i] = uchar(qBlue(palette[i]));
        }
    }
    h[65] = uchar(planes);
    putLe16(h + 66, quint32(bpl));
    h[68] = 1;  // colour or black and white
    if (!file.write(h, kHeader))
        return WriteError;

    // Lines go out in chunks of about a megabyte; a line grows at most twice.
    qint64 filled = 0;
    for (int y = 0; y < height; ++y) {
        const qint64 line = encodeLine(y, rle, chunk.data() + filled);
        if (line < 0)
            return rows.status();
        filled += line;
        if (filled >= 1 << 20 || y + 1 == height) {
            if (!file.write(chunk.data(), size_t(filled)))
                return WriteError;
            filled = 0;
        }
        if (!tracker.step(y + 1))
            return Stopped;
    }
    if (fileBits == 8) {
        uchar end[kEndPalette] = {kPaletteMarker};
        for (int i = 0; i < palette.size(); ++i) {
            end[1 + 3 * i] = uchar(qRed(palette[i]));
            end[2 + 3 * i] = uchar(qGreen(palette[i]));
            end[3 + 3 * i] = uchar(qBlue(palette[i]));
        }
        if (!file.write(end, kEndPalette))
            return WriteError;
    }
    return Ok;
}

}  // namespace

int encodePcx(const QImage &source, int bits, OutputFile &file, ProgressTracker &tracker)
{
    RgbRows rows(source);
    return encodePcxFile(source, rows, bits, file, tracker);
}

int writePcxRows(const QString &path, RowSource &rows, const WriteOptions &, const Progress &progress)
{
    return writeRows(path, rows, progress, 0, [](RowSource &source, OutputFile &file, ProgressTracker &tracker) {
        return encodePcxFile({}, source, 24, file, tracker);
    });
}

int readPcx(const QString &path, int bits, bool dither, QImage &out, const Progress &progress)
{
    return readPicture(path, bits, dither, out, [&](FILE *file, QImage &decoded) {
        ByteReader reader(file);
        return decodePcx(reader, decoded, progress);
    });
}

int writePcx(const QString &path, int bits, const QImage &image, const Progress &progress)
{
    return writePicture(path, bits, image, progress, {bits},
                        [bits](const QImage &picture, OutputFile &file, ProgressTracker &tracker) {
                            return encodePcx(picture, bits, file, tracker);
                        });
}

int pcxInfo(const QString &path, FileInfo &info)
{
    PcxHeader pcx;
    const int status = readFile(path, [&](FILE *file) {
        ByteReader reader(file);
        return readHeader(reader, pcx);
    });
    if (!succeeded(status))
        return status;
    info.type = QStringLiteral("PCX");
    info.width = int(pcx.width);
    info.height = int(pcx.height);
    info.bitsPerPixel = pcx.bits();
    info.density = pcx.dpi;
    info.colors = pcx.bits() >= 24 ? 16777216 : 1 << pcx.bits();
    info.compression = pcx.rle ? QStringLiteral("RLE") : QStringLiteral("None");
    return Ok;
}

}  // namespace sky
