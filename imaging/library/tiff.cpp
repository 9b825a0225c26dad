// TIFF files through libtiff: the first directory read through libtiff's RGBA
// interface (every photometric, bit depth and compression it knows), written
// uncompressed, CCITT modified Huffman, LZW or PackBits, header information.
// libtiff's messages go to the file's session, never to the terminal.
#include "codecs.h"
#include "formats.h"
#include "stripcodes.h"

#include <tiffio.h>

#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace sky {
namespace {

// A band of the picture decoded at a time: a strip or a row of tiles, but no
// more than this many pixels.
constexpr qint64 kBandPixels = qint64(1) << 22;
// Strips of about this size: LZW starts its dictionary afresh in each strip,
// and readers hold a whole strip.
constexpr qint64 kStripBytes = qint64(1) << 21;

struct Session {
    FILE *file = nullptr;
    bool atEnd = false;   // a read ran past the end of the file
    bool failed = false;  // libtiff reported an error
    bool dataShort = false;  // a strip or tile ended before its rows did
    TIFF *tiff = nullptr;
    ~Session()
    {
        if (tiff)
            TIFFClose(tiff);
    }
};

tmsize_t readProc(thandle_t handle, void *data, tmsize_t size)
{
    auto *s = static_cast<Session *>(handle);
    const size_t n = std::fread(data, 1, size_t(size), s->file);
    if (n < size_t(size) && std::feof(s->file))
        s->atEnd = true;
    return tmsize_t(n);
}

tmsize_t writeProc(thandle_t handle, void *data, tmsize_t size)
{
    return tmsize_t(std::fwrite(data, 1, size_t(size), static_cast<Session *>(handle)->file));
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence)
{
    FILE *file = static_cast<Session *>(handle)->file;
    if (offset > toff_t(INT64_MAX) || fseeko(file, off_t(offset), whence) != 0)
        return toff_t(-1);
    return toff_t(ftello(file));
}

// The stream belongs to the caller.
int closeProc(thandle_t) { return 0; }

toff_t sizeProc(thandle_t handle)
{
    FILE *file = static_cast<Session *>(handle)->file;
    const off_t here = ftello(file);
    fseeko(file, 0, SEEK_END);
    const off_t size = ftello(file);
    fseeko(file, here, SEEK_SET);
    return toff_t(size);
}

int mapProc(thandle_t, void **, toff_t *) { return 0; }
void unmapProc(thandle_t, void *, toff_t) {}

int onError(TIFF *, void *user, const char *, const char *format, va_list arguments)
{
    auto *s = static_cast<Session *>(user);
    s->failed = true;
    // The codecs say "Not enough data" when a compressed strip stops short.
    char message[512] = "";
    std::vsnprintf(message, sizeof message, format, arguments);
    if (std::strstr(message, "Not enough data") || std::strstr(message, "Read error"))
        s->dataShort = true;
    return 1;
}

int onWarning(TIFF *, void *, const char *, const char *, va_list) { return 1; }

int open(Session &s, const char *mode)
{
    const std::unique_ptr<TIFFOpenOptions, void (*)(TIFFOpenOptions *)> options(
        TIFFOpenOptionsAlloc(), TIFFOpenOptionsFree);
    if (!options)
        return OutOfMemory;
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), onError, &s);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), onWarning, &s);
    // No allocation of libtiff's may pass the budget of a reading either.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), tmsize_t(kMaxDecodedBytes));
    s.tiff = TIFFClientOpenExt("image", mode, &s, readProc, writeProc, seekProc, closeProc,
                               sizeProc, mapProc, unmapProc, options.get());
    if (s.tiff)
        return Ok;
    if (*mode == 'w')
        return CannotCreate;
    return s.atEnd ? Truncated : BadFormat;
}

int readStatus(const Session &s) { return s.atEnd || s.dataShort ? Truncated : BadFormat; }

// Dots per inch from XResolution and ResolutionUnit; 0 when the file has none.
int densityOf(TIFF *tiff)
{
    float resolution = 0;
    uint16_t unit = RESUNIT_INCH;
    if (!TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &resolution) || !std::isfinite(resolution) ||
        resolution <= 0)
        return 0;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
    resolution = std::min(resolution, 1e6f);
    return unit == RESUNIT_INCH         ? int(std::lround(resolution))
           : unit == RESUNIT_CENTIMETER ? int(std::lround(resolution * 2.54))
                                        : 0;
}

int decode(Session &s, QImage &image, const Progress &progress)
{
    TIFF *tiff = s.tiff;
    uint32_t w = 0, h = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &h);
    if (const int size = checkDecodedSize(w, h); size != Ok)
        return size;
    char message[1024] = "";
    if (!TIFFRGBAImageOK(tiff, message))
        return Unsupported;
    TIFFRGBAImage rgba{};
    if (!TIFFRGBAImageBegin(&rgba, tiff, 1, message))
        return s.failed ? readStatus(s) : Unsupported;
    const std::unique_ptr<TIFFRGBAImage, void (*)(TIFFRGBAImage *)> end(&rgba, TIFFRGBAImageEnd);
    rgba.req_orientation = ORIENTATION_TOPLEFT;

    uint32_t unit = 0;
    if (!TIFFGetField(tiff, TIFFIsTiled(tiff) ? TIFFTAG_TILELENGTH : TIFFTAG_ROWSPERSTRIP, &unit) ||
        unit == 0)
        unit = h;
    const uint32_t band = uint32_t(std::clamp<qint64>(std::min<qint64>(unit, kBandPixels / w), 1, h));
    std::vector<uint32_t> raster;
    try {
        raster.resize(size_t(w) * band);
    } catch (const std::bad_alloc &) {
        return OutOfMemory;
    }
    image = newPicture(int(w), int(h), QImage::Format_RGB888);
    if (image.isNull())
        return OutOfMemory;
    image.fill(0);  // what a cut file never reaches
    const int dpi = densityOf(tiff);
    setDensity(image, std::lround(dpi / 0.0254), std::lround(dpi / 0.0254));
    ProgressTracker tracker(progress, h);
    for (uint32_t y = 0; y < h; y += band) {
        const uint32_t rows = std::min(band, h - y);
        rgba.row_offset = int(y);
        if (!TIFFRGBAImageGet(&rgba, raster.data(), w, rows))
            return readStatus(s);
        for (uint32_t r = 0; r < rows; ++r) {
            uchar *line = image.scanLine(int(y + r));
            const uint32_t *pixel = raster.data() + size_t(r) * w;
            for (uint32_t x = 0; x < w; ++x) {
                line[3 * x] = uchar(TIFFGetR(pixel[x]));
                line[3 * x + 1] = uchar(TIFFGetG(pixel[x]));
                line[3 * x + 2] = uchar(TIFFGetB(pixel[x]));
            }
        }
        if (!tracker.step(y + rows))
            return Stopped;
    }
    return Ok;
}

// Dots per metre of the file's resolution, as the picture read whole has it.
int dotsPerMetre(TIFF *tiff) { return densityAsRead(std::lround(densityOf(tiff) / 0.0254)); }

// The colour of each 8-bit sample of a grey or palette picture, as the RGBA
// interface gives it: a colour map whose entries all stay below 256 is taken
// as written with 8-bit values, a common fault of writers.
int sampleColours(TIFF *tiff, uint16_t photometric, std::vector<uchar> &colours)
{
    colours.resize(256 * 3);
    if (photometric == PHOTOMETRIC_MINISBLACK) {
        for (int i = 0; i < 256; ++i)
            std::fill_n(colours.begin() + 3 * i, 3, uchar(i));
        return Ok;
    }
    uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    if (!TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue))
        return Unsupported;
    const uint16_t *maps[3] = {red, green, blue};
    bool sixteen = false;
    for (const uint16_t *map : maps)
        sixteen = sixteen || std::any_of(map, map + 256, [](uint16_t v) { return v >= 256; });
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c)
            colours[size_t(3 * i + c)] = uchar(sixteen ? maps[c][i] >> 8 : maps[c][i]);
    return Ok;
}

// Whether TIFFReadScanline gives rows that the RGBA interface would give as
// they are: strips of contiguous 8-bit RGB, grey (black first) or palette
// samples, top row first, not coded as JPEG.
bool readableByRows(TIFF *tiff)
{
    uint16_t bits = 1, samples = 1, planar = PLANARCONFIG_CONTIG, format = SAMPLEFORMAT_UINT,
             orientation = ORIENTATION_TOPLEFT, compression = COMPRESSION_NONE, photometric = 0, extra = 0;
    uint16_t *extraTypes = nullptr;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &orientation);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &extra, &extraTypes);
    const bool rows = !TIFFIsTiled(tiff) && planar == PLANARCONFIG_CONTIG && bits == 8 &&
                      format == SAMPLEFORMAT_UINT && orientation == ORIENTATION_TOPLEFT && extra == 0;
    const bool coding = compression == COMPRESSION_NONE || compression == COMPRESSION_LZW ||
                        compression == COMPRESSION_PACKBITS || compression == COMPRESSION_DEFLATE ||
                        compression == COMPRESSION_ADOBE_DEFLATE;
    if (!rows || !coding || !TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric))
        return false;
    return photometric == PHOTOMETRIC_RGB ? samples == 3
                                          : (photometric == PHOTOMETRIC_MINISBLACK ||
                                             photometric == PHOTOMETRIC_PALETTE) && samples == 1;
}

// The rows of a TIFF file that readableByRows takes, in true colour; `colours`
// those of each sample of a grey or palette picture, empty for RGB.
class TiffRows final : public SequentialRows {
public:
    TiffRows(Session &s, int width, int height, std::vector<uchar> colours)
        : s_(s), width_(width), height_(height), density_(dotsPerMetre(s.tiff)), colours_(std::move(colours))
    {
    }
    int width() const override { return width_; }
    int height() const override { return height_; }
    int densityX() const override { return density_; }
    int densityY() const override { return density_; }

private:
    int readNext(int y, uchar *line) override
    {
        if (!colours_.empty() && samples_.empty())
            samples_.resize(size_t(width_));
        uchar *read = colours_.empty() ? line : samples_.data();
        if (TIFFReadScanline(s_.tiff, read, uint32_t(y), 0) < 0)
            return readStatus(s_);
        for (size_t x = 0; x < samples_.size(); ++x)
            std::memcpy(line + 3 * x, colours_.data() + 3 * size_t(samples_[x]), 3);
        return Ok;
    }

    Session &s_;
    int width_, height_, density_;
    std::vector<uchar> colours_;
    std::vector<uchar> samples_;
};

// Rows in a strip of `width` pixels of `bits` each.
int stripRows(qint64 width, int bits, int height)
{
    const qint64 rowBytes = (width * bits + 7) / 8;
    return int(std::clamp<qint64>(kStripBytes / rowBytes, 1, height));
}

int setFields(TIFF *tiff, int width, int height, int bits, const QList<QRgb> &table,
              int dotsPerMetre, int compression, bool predictor)
{
    const bool palette = bits == 4 || bits == 8;
    const int samples = bits == 24 ? 3 : 1;
    bool ok = TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(width)) &&
              TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(height)) &&
              TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(bits == 24 ? 8 : bits)) &&
              TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, uint16_t(samples)) &&
              TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
              TIFFSetField(tiff, TIFFTAG_COMPRESSION, uint16_t(compression));
    if (bits == 24) {
        ok = ok && TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    } else if (palette) {
        std::vector<uint16_t> red(size_t(1) << bits), green(red.size()), blue(red.size());
        for (size_t i = 0; i < red.size() && i < size_t(table.size()); ++i) {
            red[i] = uint16_t(qRed(table[qsizetype(i)]) * 257);
            green[i] = uint16_t(qGreen(table[qsizetype(i)]) * 257);
            blue[i] = uint16_t(qBlue(table[qsizetype(i)]) * 257);
        }
        ok = ok && TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE) &&
             TIFFSetField(tiff, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
    } else {
        const bool whiteIsZero = table.size() == 2 && qGray(table[0]) > qGray(table[1]);
        ok = ok && TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
                                whiteIsZero ? PHOTOMETRIC_MINISWHITE : PHOTOMETRIC_MINISBLACK);
    }
    if (predictor)
        ok = ok && TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    if (dotsPerMetre > 0)
        ok = ok && TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH) &&
             TIFFSetField(tiff, TIFFTAG_XRESOLUTION, float(std::lround(dotsPerMetre * 0.0254))) &&
             TIFFSetField(tiff, TIFFTAG_YRESOLUTION, float(std::lround(dotsPerMetre * 0.0254)));
    ok = ok && TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, uint32_t(stripRows(width, bits, height)));
    return ok ? Ok : Failed;
}

// LZW and PackBits strips are coded here; libtiff codes the others a row at a time.
bool codedHere(int compression) { return compression == COMPRESSION_LZW || compression == COMPRESSION_PACKBITS; }

// The code of a strip of `count` rows of `rowBytes` each.
void codeStrip(int compression, const uchar *strip, size_t rowBytes, int count, std::vector<uchar> &code)
{
    if (compression == COMPRESSION_LZW)
        return encodeTiffLzw(strip, rowBytes * size_t(count), code);
    code.clear();
    for (int r = 0; r < count; ++r)
        appendPackBits(strip + rowBytes * size_t(r), rowBytes, code);
}

// Writes rows `first`, `first + step`, ... below `end` as the file's rows. Strips
// coded here are gathered, differenced when `predictor` says so, and written raw.
int writeStrips(TIFF *tiff, const QImage &picture, int bits, RowSource &rows, int first, int step, int end,
                int compression, bool predictor, ProgressTracker &tracker)
{
    const size_t rowBytes = (size_t(rows.width()) * size_t(bits) + 7) / 8;
    const int height = (end - first + step - 1) / step;
    const int perStrip = codedHere(compression) ? stripRows(rows.width(), bits, height) : 1;
    std::vector<uchar> strip(rowBytes * size_t(perStrip)), code;
    for (int y = first, n = 0; y < end; y += step, ++n) {
        uchar *row = strip.data() + rowBytes * size_t(n % perStrip);
        if (bits == 24) {
            const uchar *rgb = rows.row(y, row);
            if (!rgb)
                return rows.status();
            if (rgb != row)
                std::memcpy(row, rgb, rowBytes);
        } else
            packIndices(picture, y, bits, row);
        if (!codedHere(compression)) {
            if (TIFFWriteScanline(tiff, row, uint32_t(n), 0) < 0)
                return WriteError;
        } else {
            if (predictor)
                differenceRow(row, rowBytes, 3);
            if (n % perStrip == perStrip - 1 || n == height - 1) {
                codeStrip(compression, strip.data(), rowBytes, n % perStrip + 1, code);
                if (TIFFWriteRawStrip(tiff, uint32_t(n / perStrip), code.data(), tmsize_t(code.size())) < 0)
                    return WriteError;
            }
        }
        if (!tracker.step(y))
            return Stopped;
    }
    return tracker.finish() ? Ok : Stopped;
}

// Writes the picture's rows `first`, `first + step`, ... below `end` into `file`.
int writeFile(FILE *file, const QImage &picture, int bits, RowSource &rows, int first, int step, int end,
              int compression, bool predictor, ProgressTracker &tracker)
{
    Session s;
    s.file = file;
    int status = open(s, "w");
    const int height = (end - first + step - 1) / step;
    if (status == Ok)
        status = setFields(s.tiff, rows.width(), height, bits, picture.colorTable(),
                           rows.densityX(), compression, predictor);
    if (status == Ok)
        status = writeStrips(s.tiff, picture, bits, rows, first, step, end, compression, predictor, tracker);
    if (status == Ok && !TIFFFlush(s.tiff))
        status = WriteError;
    return status == Ok && s.failed ? WriteError : status;
}

// Size in bytes of the LZW code of the sampled rows.
size_t sampleSize(RowSource &rows, const RowSample &sampled, bool predictor)
{
    const size_t rowBytes = size_t(rows.width()) * 3;
    std::vector<uchar> sample, code;
    for (int y = sampled.first; y < sampled.end; y += sampled.step) {
        sample.resize(sample.size() + rowBytes);
        uchar *row = sample.data() + sample.size() - rowBytes;
        const uchar *rgb = rows.row(y, row);
        if (!rgb)
            return 0;
        if (rgb != row)
            std::memcpy(row, rgb, rowBytes);
        if (predictor)
            differenceRow(row, rowBytes, 3);
    }
    encodeTiffLzw(sample.data(), sample.size(), code);
    return code.size();
}

// Horizontal differencing helps LZW on photographs but hurts on drawings and
// noise: a sample of the first rows is coded both ways and the smaller wins.
bool predictorHelps(RowSource &rows)
{
    const RowSample sampled = sampleFirstRows(rows, qint64(rows.width()) * 3);
    return sampleSize(rows, sampled, true) < sampleSize(rows, sampled, false);
}

QString compressionName(int code)
{
    switch (code) {
    case COMPRESSION_NONE: return QStringLiteral("None");
    case COMPRESSION_CCITTRLE: return QStringLiteral("CCITT RLE");
    case COMPRESSION_CCITTFAX3: return QStringLiteral("CCITT Group 3");
    case COMPRESSION_CCITTFAX4: return QStringLiteral("CCITT Group 4");
    case COMPRESSION_CCITTRLEW: return QStringLiteral("CCITT RLEW");
    case COMPRESSION_LZW: return QStringLiteral("LZW");
    case COMPRESSION_OJPEG:
    case COMPRESSION_JPEG: return QStringLiteral("JPEG");
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE: return QStringLiteral("Deflate");
    case COMPRESSION_PACKBITS: return QStringLiteral("PackBits");
    case COMPRESSION_LZMA: return QStringLiteral("LZMA");
    case COMPRESSION_ZSTD: return QStringLiteral("Zstandard");
    case COMPRESSION_WEBP: return QStringLiteral("WebP");
    default: return QStringLiteral("Code %1").arg(code);
    }
}

}  // namespace

int readTiff(const QString &path, int bits, bool dither, QImage &out, const Progress &progress)
{
    return readPicture(path, bits, dither, out, [&](FILE *file, QImage &decoded) {
        Session s;
        s.file = file;
        const int status = open(s, "r");
        return status == Ok ? decode(s, decoded, progress) : status;
    });
}

int writeTiff(const QString &path, int compression, int bits, const QImage &image,
              const Progress &progress)
{
    if (compression != COMPRESSION_NONE && compression != COMPRESSION_CCITTRLE &&
        compression != COMPRESSION_LZW && compression != COMPRESSION_PACKBITS)
        return BadArgument;
    // CCITT codes black and white only; the VGA colours are a 4-bit palette.
    const int reduced = compression == COMPRESSION_CCITTRLE && validDepth(bits) ? 1 : bits;
    const int depth = reduced == 0 ? 4 : reduced;
    return writePicture(path, bits, image, progress, {reduced},
                        [&](const QImage &picture, OutputFile &file, ProgressTracker &tracker) {
                            RgbRows rows(picture);
                            if (rows.width() == 0)
                                return int(OutOfMemory);
                            const bool predictor =
                                compression == COMPRESSION_LZW && depth == 24 && predictorHelps(rows);
                            return writeFile(file.handle(), picture, depth, rows, 0, 1, rows.height(),
                                             compression, predictor, tracker);
                        });
}

int writeTiffRows(const QString &path, RowSource &rows, const WriteOptions &options, const Progress &progress)
{
    const int compression = options.tiffCompression;
    // CCITT codes black and white only.
    if (compression != COMPRESSION_NONE && compression != COMPRESSION_LZW && compression != COMPRESSION_PACKBITS)
        return Unsupported;
    return writeRows(path, rows, progress, 0, [compression](RowSource &source, OutputFile &file, ProgressTracker &tracker) {
        const bool predictor = compression == COMPRESSION_LZW && predictorHelps(source);
        return succeeded(source.status())
                   ? writeFile(file.handle(), {}, 24, source, 0, 1, source.height(), compression, predictor, tracker)
                   : source.status();
    });
}

int withTiffRows(const QString &path, const std::function<int(RowSource &rows)> &use)
{
    return readFile(path, [&](FILE *file) -> int {
        Session s;
        s.file = file;
        if (const int status = open(s, "r"); status != Ok)
            return status;
        uint32_t w = 0, h = 0;
        TIFFGetField(s.tiff, TIFFTAG_IMAGEWIDTH, &w);
        TIFFGetField(s.tiff, TIFFTAG_IMAGELENGTH, &h);
        if (const int size = checkDecodedSize(w, h); size != Ok)
            return size;
        char message[1024] = "";
        if (!readableByRows(s.tiff) || !TIFFRGBAImageOK(s.tiff, message))
            return Unsupported;
        uint16_t photometric = 0;
        TIFFGetField(s.tiff, TIFFTAG_PHOTOMETRIC, &photometric);
        std::vector<uchar> colours;
        if (photometric != PHOTOMETRIC_RGB) {
            if (const int status = sampleColours(s.tiff, photometric, colours); status != Ok)
                return status;
        }
        TiffRows rows(s, int(w), int(h), std::move(colours));
        return use(rows);
    });
}

int tiffInfo(const QString &path, FileInfo &info)
{
    return readFile(path, [&](FILE *file) -> int {
        Session s;
        s.file = file;
        if (const int status = open(s, "r"); status != Ok)
            return status;
        TIFF *tiff = s.tiff;
        uint32_t w = 0, h = 0;
        uint16_t bitsPerSample = 1, samples = 1, photometric = 0, compression = COMPRESSION_NONE;
        TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &w);
        TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &h);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
        TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
        const int bits = bitsPerSample * samples;
        info.type = QStringLiteral("TIFF");
        info.width = int(std::min<uint32_t>(w, INT_MAX));
        info.height = int(std::min<uint32_t>(h, INT_MAX));
        info.bitsPerPixel = bits;
        info.colors = photometric == PHOTOMETRIC_PALETTE ? 1 << std::min<int>(bitsPerSample, 16)
                                                         : 1 << std::clamp(bits, 0, 24);
        info.density = densityOf(tiff);
        info.compression = compressionName(compression);
        return Ok;
    });
}

}  // namespace sky
