// PNG files through libpng: every colour type and bit depth read (16-bit
// samples halved, transparency laid on the background), palette or RGB
// written, Adam7 interlacing, header information. libpng reports errors by jumping back to the call that
// set up the jump; no C++ object with a destructor lives in those frames.
#include "codecs.h"
#include "formats.h"

#include <png.h>
#include <zlib.h>

#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace sky {
namespace {

// Measured on grainy 12-megapixel photos: true colour rows filtered by their
// difference to the mean of the left and upper pixels, coded by Huffman codes
// alone (string matches find almost nothing in grain) in zlib's largest
// blocks, come out 5 % smaller than the difference to the row above deflated
// at level 1, in less than half its time, and within 0.2 % of ImageMagick's
// adaptive filters at level 7. Palette indices do not predict each other:
// unfiltered rows at level 3 are within 1 % of the best.
constexpr int kPaletteLevel = 3;
constexpr int kLargestBlocks = 9;  // zlib's memory level
// Each IDAT chunk costs twelve bytes: libpng's usual 8 kB chunks made a
// photograph 0.15 % larger than needed.
constexpr size_t kChunkBytes = size_t(1) << 20;
// Colour profiles and camera data stay far below this.
constexpr png_alloc_size_t kLargestChunk = png_alloc_size_t(16) << 20;

struct Session {
    png_structp png = nullptr;
    png_infop info = nullptr;
    FILE *file = nullptr;
    bool writing = false;
    bool atEnd = false;  // reading ran past the end of the file
    bool tooLarge = false;  // the header claims a size beyond the limits
    int status = Ok;
    ~Session()
    {
        if (writing)
            png_destroy_write_struct(&png, &info);
        else
            png_destroy_read_struct(&png, &info, nullptr);
    }
};

Session &sessionOf(png_structp png) { return *static_cast<Session *>(png_get_error_ptr(png)); }

[[noreturn]] void fail(png_structp png, int status)
{
    sessionOf(png).status = status;
    png_longjmp(png, 1);
}

void onError(png_structp png, png_const_charp message)
{
    Session &s = sessionOf(png);
    int status = s.writing ? WriteError : BadFormat;
    if (std::strstr(message, "memory"))
        status = OutOfMemory;
    else if (s.tooLarge)
        status = TooLarge;
    else if (s.atEnd || std::strstr(message, "Not enough image data"))
        status = Truncated;
    fail(png, status);
}

// libpng warns of each limit the header's size exceeds, then fails on the header.
void onWarning(png_structp png, png_const_charp message)
{
    if (std::strstr(message, "exceeds user limit") || std::strstr(message, "is too large for"))
        sessionOf(png).tooLarge = true;
}

void readData(png_structp png, png_bytep data, size_t size)
{
    Session &s = sessionOf(png);
    if (std::fread(data, 1, size, s.file) != size) {
        s.atEnd = std::feof(s.file);
        png_error(png, s.atEnd ? "end of file" : "read error");
    }
}

void writeData(png_structp png, png_bytep data, size_t size)
{
    if (std::fwrite(data, 1, size, sessionOf(png).file) != size)
        fail(png, WriteError);
}

void flushData(png_structp) {}

// Opens the file's PNG stream and reads its headers up to the picture data.
int start(Session &s)
{
    png_byte signature[8];
    if (std::fread(signature, 1, 8, s.file) != 8 || png_sig_cmp(signature, 0, 8) != 0)
        return BadFormat;
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s, onError, onWarning);
    if (!s.png)
        return OutOfMemory;
    if (setjmp(png_jmpbuf(s.png)))
        return s.status;
    s.info = png_create_info_struct(s.png);
    if (!s.info)
        return OutOfMemory;
    png_set_read_fn(s.png, &s, readData);
    png_set_sig_bytes(s.png, 8);
    png_set_user_limits(s.png, kMaxSide, kMaxSide);
    // No chunk but the picture's own data may claim more than this, and text is
    // never read: a file cannot make libpng hold what its pixels do not need.
    png_set_chunk_malloc_max(s.png, kLargestChunk);
    static const png_byte kText[] = "tEXt\0zTXt\0iTXt";
    png_set_keep_unknown_chunks(s.png, PNG_HANDLE_CHUNK_NEVER, kText, 3);
    png_read_info(s.png, s.info);
    return Ok;
}


// What the transformations below make of the picture's rows: 8-bit RGB, or
// (palette and grey pictures) one 8-bit index a pixel into `colours`.
struct Layout {
    int width = 0;
    int height = 0;
    int passes = 1;
    bool indexed = false;
    QList<QRgb> colours;
    qint64 densityX = 0;  // dots per metre; 0: none
    qint64 densityY = 0;
};

// Asks libpng for those rows: 16-bit samples halved, transparency laid on
// the background, small samples unpacked, grey levels widened to 8 bits.
int transform(Session &s, Layout &layout)
{
    if (setjmp(png_jmpbuf(s.png)))
        return s.status;
    png_structp png = s.png;
    const int type = png_get_color_type(png, s.info);
    png_set_strip_16(png);
    // Transparent and translucent pixels are laid on the background the file
    // names, or on white: with the alpha dropped, a transparent pixel would
    // show whatever colour it holds. A palette's entries are mixed in prepare().
    if (type != PNG_COLOR_TYPE_PALETTE &&
        ((type & PNG_COLOR_MASK_ALPHA) || png_get_valid(png, s.info, PNG_INFO_tRNS))) {
        // Mixed as the samples are stored, as viewers mix them: told of a file's
        // gamma, libpng would mix in linear light, and half a black pixel on
        // white would come out at 186 instead of 128.
        png_set_gamma_fixed(png, PNG_FP_1, PNG_FP_1);
        png_color_16p named = nullptr;
        if (png_get_bKGD(png, s.info, &named)) {
            png_set_background_fixed(png, named, PNG_BACKGROUND_GAMMA_FILE, 1, PNG_FP_1);
        } else {
            const png_color_16 white = {0, 255, 255, 255, 255};
            png_set_background_fixed(png, &white, PNG_BACKGROUND_GAMMA_SCREEN, 0, PNG_FP_1);
        }
    }
    png_set_packing(png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_expand_gray_1_2_4_to_8(png);
    layout.passes = png_set_interlace_handling(png);
    png_read_update_info(png, s.info);
    return Ok;
}

// Mixes the palette's translucent entries with the background the file names
// (one of its entries), or with white.
void layOnBackground(const Session &s, QList<QRgb> &colours)
{
    png_bytep alphas = nullptr;
    int count = 0;
    if (!png_get_tRNS(s.png, s.info, &alphas, &count, nullptr) || !alphas)
        return;
    png_color_16p named = nullptr;
    const bool listed = png_get_bKGD(s.png, s.info, &named) && named->index < colours.size();
    const QRgb background = listed ? colours[named->index] : qRgb(255, 255, 255);
    const auto mix = [](int colour, int behind, int alpha) { return (colour * alpha + behind * (255 - alpha) + 127) / 255; };
    for (int i = 0; i < count && i < colours.size(); ++i)
        colours[i] = qRgb(mix(qRed(colours[i]), qRed(background), alphas[i]),
                          mix(qGreen(colours[i]), qGreen(background), alphas[i]),
                          mix(qBlue(colours[i]), qBlue(background), alphas[i]));
}

int prepare(Session &s, Layout &layout)
{
    if (const int status = transform(s, layout); status != Ok)
        return status;
    png_structp png = s.png;
    const int type = png_get_color_type(png, s.info);
    const int depth = png_get_bit_depth(png, s.info);
    layout.width = int(png_get_image_width(png, s.info));
    layout.height = int(png_get_image_height(png, s.info));
    layout.indexed = !(type & PNG_COLOR_MASK_COLOR) || type == PNG_COLOR_TYPE_PALETTE;
    if (type == PNG_COLOR_TYPE_PALETTE) {
        png_colorp entries = nullptr;
        int count = 0;
        if (!png_get_PLTE(png, s.info, &entries, &count))
            return BadFormat;
        // Indices beyond the palette show black rather than reading past it.
        layout.colours = QList<QRgb>(1 << std::min(depth, 8), qRgb(0, 0, 0));
        for (int i = 0; i < count && i < layout.colours.size(); ++i)
            layout.colours[i] = qRgb(entries[i].red, entries[i].green, entries[i].blue);
        layOnBackground(s, layout.colours);
    } else if (layout.indexed) {
        layout.colours = greyPalette();
    }
    png_uint_32 xDensity = 0, yDensity = 0;
    int unit = PNG_RESOLUTION_UNKNOWN;
    if (png_get_pHYs(png, s.info, &xDensity, &yDensity, &unit) && unit == PNG_RESOLUTION_METER && xDensity > 0 &&
        yDensity > 0) {
        layout.densityX = xDensity;
        layout.densityY = yDensity;
    }
    return Ok;
}

// Reads row `y` of the last pass into `line`, and what follows the picture after its last row.
int readRow(Session &s, int y, int height, uchar *line)
{
    if (setjmp(png_jmpbuf(s.png)))
        return s.status;
    png_read_row(s.png, line, nullptr);
    if (y == height - 1)
        png_read_end(s.png, nullptr);
    return Ok;
}

int readPasses(Session &s, const Layout &layout, QImage &image, ProgressTracker &tracker)
{
    if (setjmp(png_jmpbuf(s.png)))
        return s.status;
    for (int pass = 0; pass < layout.passes - 1; ++pass)
        for (int y = 0; y < layout.height; ++y) {
            png_read_row(s.png, image.scanLine(y), nullptr);
            if (!tracker.step(qint64(pass) * layout.height + y))
                return Stopped;
        }
    return Ok;
}

// Reads the picture as RGB888, or as Indexed8 with its palette or grey levels.
int decode(Session &s, QImage &image, ProgressTracker &tracker)
{
    Layout layout;
    if (const int status = prepare(s, layout); status != Ok)
        return status;
    const int h = layout.height;
    image = newPicture(layout.width, h, layout.indexed ? QImage::Format_Indexed8 : QImage::Format_RGB888);
    if (image.isNull())
        return OutOfMemory;
    // Rows a cut file never reaches show black, not what the memory held.
    image.fill(0);
    if (layout.indexed)
        image.setColorTable(layout.colours);
    setDensity(image, layout.densityX, layout.densityY);
    if (const int status = readPasses(s, layout, image, tracker); status != Ok)
        return status;
    const qint64 last = qint64(layout.passes - 1) * h;
    for (int y = 0; y < h; ++y) {
        if (const int status = readRow(s, y, h, image.scanLine(y)); status != Ok)
            return status;
        if (!tracker.step(last + y))
            return Stopped;
    }
    return Ok;
}

// The rows of a PNG file without interlacing as libpng decodes them, in true colour.
class PngRows final : public SequentialRows {
public:
    PngRows(Session &s, Layout layout) : s_(s), layout_(std::move(layout))
    {
        // Indices beyond a short palette read as black.
        if (layout_.indexed)
            layout_.colours.resize(256, qRgb(0, 0, 0));
    }
    int width() const override { return layout_.width; }
    int height() const override { return layout_.height; }
    int densityX() const override { return densityAsRead(layout_.densityX); }
    int densityY() const override { return densityAsRead(layout_.densityY); }

private:
    int readNext(int y, uchar *line) override
    {
        if (!layout_.indexed)
            return readRow(s_, y, height(), line);
        if (indices_.empty())
            indices_.resize(size_t(width()));
        if (const int status = readRow(s_, y, height(), indices_.data()); status != Ok)
            return status;
        for (int x = 0; x < width(); ++x) {
            const QRgb c = layout_.colours[indices_[size_t(x)]];
            line[3 * x] = uchar(qRed(c));
            line[3 * x + 1] = uchar(qGreen(c));
            line[3 * x + 2] = uchar(qBlue(c));
        }
        return Ok;
    }

    Session &s_;
    Layout layout_;
    std::vector<uchar> indices_;
};

// Opens the stream and checks the size its header claims against the budget of a reading.
int startReading(Session &s)
{
    const int status = start(s);
    return status == Ok ? checkDecodedSize(png_get_image_width(s.png, s.info), png_get_image_height(s.png, s.info))
                        : status;
}

int encode(Session &s, const QImage &picture, int bits, bool interlaced, RowSource &rows,
           const std::vector<png_color> &palette, std::vector<uchar> &row, ProgressTracker &tracker)
{
    if (setjmp(png_jmpbuf(s.png)))
        return s.status;
    png_structp png = s.png;
    s.info = png_create_info_struct(png);
    if (!s.info)
        return OutOfMemory;
    png_set_write_fn(png, &s, writeData, flushData);
    const int w = rows.width(), h = rows.height();
    const int depth = bits == 24 ? 8 : bits == 0 ? 4 : bits;
    png_set_IHDR(png, s.info, png_uint_32(w), png_uint_32(h), depth,
                 bits == 24 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_PALETTE,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (bits != 24)
        png_set_PLTE(png, s.info, palette.data(), int(palette.size()));
    if (rows.densityX() > 0 && rows.densityY() > 0)
        png_set_pHYs(png, s.info, png_uint_32(rows.densityX()), png_uint_32(rows.densityY()),
                     PNG_RESOLUTION_METER);
    if (bits == 24) {
        png_set_compression_strategy(png, Z_HUFFMAN_ONLY);
        png_set_compression_mem_level(png, kLargestBlocks);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_AVG);
    } else {
        png_set_compression_level(png, kPaletteLevel);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    }
    png_set_compression_buffer_size(png, kChunkBytes);
    png_write_info(png, s.info);
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass)
        for (int y = 0; y < h; ++y) {
            if (bits == 24) {
                const uchar *rgb = rows.row(y, row.data());
                if (!rgb)
                    return rows.status();
                png_write_row(png, rgb);
            } else {
                packIndices(picture, y, depth, row.data());
                png_write_row(png, row.data());
            }
            if (!tracker.step(qint64(pass) * h + y))
                return Stopped;
        }
    png_write_end(png, s.info);
    return Ok;
}

// Encodes `picture` at `bits`, its rows (true colour) from `rows`.
int encodeFile(const QImage &picture, int bits, bool interlaced, RowSource &rows, OutputFile &file,
               ProgressTracker &tracker)
{
    std::vector<uchar> row(size_t(rows.width()) * 3);
    std::vector<png_color> palette;
    for (const QRgb c : picture.colorTable())
        palette.push_back({png_byte(qRed(c)), png_byte(qGreen(c)), png_byte(qBlue(c))});
    Session s;
    s.writing = true;
    s.file = file.handle();
    s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &s, onError, onWarning);
    return s.png ? encode(s, picture, bits, interlaced, rows, palette, row, tracker) : int(OutOfMemory);
}

}  // namespace

int readPng(const QString &path, int bits, bool dither, QImage &out, const Progress &progress)
{
    return readPicture(path, bits, dither, out, [&](FILE *file, QImage &decoded) {
        Session s;
        s.file = file;
        int status = startReading(s);
        if (status != Ok)
            return status;
        const int passes = png_get_interlace_type(s.png, s.info) == PNG_INTERLACE_ADAM7 ? 7 : 1;
        ProgressTracker tracker(progress, qint64(passes) * png_get_image_height(s.png, s.info));
        status = decode(s, decoded, tracker);
        return status == Ok && !tracker.finish() ? Stopped : status;
    });
}

int writePng(const QString &path, int bits, bool interlaced, const QImage &image,
             const Progress &progress)
{
    const WritePlan plan{bits, qint64(interlaced ? 7 : 1) * image.height()};
    return writePicture(path, bits, image, progress, plan,
                        [&](const QImage &picture, OutputFile &file, ProgressTracker &tracker) {
                            RgbRows rows(picture);
                            if (rows.width() == 0)
                                return int(OutOfMemory);
                            return encodeFile(picture, bits, interlaced, rows, file, tracker);
                        });
}

int writePngRows(const QString &path, RowSource &rows, const WriteOptions &options, const Progress &progress)
{
    // Interlacing reads the picture seven times over.
    if (options.interlaced)
        return Unsupported;
    return writeRows(path, rows, progress, 0, [](RowSource &source, OutputFile &file, ProgressTracker &tracker) {
        return encodeFile({}, 24, false, source, file, tracker);
    });
}

int withPngRows(const QString &path, const std::function<int(RowSource &rows)> &use)
{
    return readFile(path, [&](FILE *file) -> int {
        Session s;
        s.file = file;
        if (const int status = startReading(s); status != Ok)
            return status;
        // Each pass of an interlaced picture holds pixels of the whole picture.
        if (png_get_interlace_type(s.png, s.info) == PNG_INTERLACE_ADAM7)
            return Unsupported;
        Layout layout;
        if (const int status = prepare(s, layout); status != Ok)
            return status;
        PngRows rows(s, std::move(layout));
        return use(rows);
    });
}

int pngInfo(const QString &path, FileInfo &info)
{
    return readFile(path, [&](FILE *file) -> int {
        Session s;
        s.file = file;
        if (const int status = start(s); status != Ok)
            return status;
        png_structp png = s.png;
        const int type = png_get_color_type(png, s.info);
        const int bits = png_get_bit_depth(png, s.info) * png_get_channels(png, s.info);
        int paletteSize = 0;
        png_colorp entries = nullptr;
        png_get_PLTE(png, s.info, &entries, &paletteSize);
        png_uint_32 xDensity = 0, yDensity = 0;
        int unit = PNG_RESOLUTION_UNKNOWN;
        png_get_pHYs(png, s.info, &xDensity, &yDensity, &unit);
        info.type = QStringLiteral("PNG");
        info.width = int(png_get_image_width(png, s.info));
        info.height = int(png_get_image_height(png, s.info));
        info.bitsPerPixel = bits;
        info.colors = type == PNG_COLOR_TYPE_PALETTE ? paletteSize : 1 << std::min(bits, 24);
        info.density = unit == PNG_RESOLUTION_METER ? int(std::lround(xDensity * 0.0254)) : 0;
        info.compression = png_get_interlace_type(png, s.info) == PNG_INTERLACE_ADAM7
                               ? QStringLiteral("Deflate interlaced")
                               : QStringLiteral("Deflate");
        return Ok;
    });
}

}  // namespace sky
