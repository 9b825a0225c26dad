// Colour depths: true colour, palettes made for the picture (libimagequant),
// the 16 VGA colours and black and white, with optional error diffusion.
#include "codecs.h"

#include <libimagequant.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace sky {

RgbRows::RgbRows(const QImage &image) : image_(image)
{
    switch (image_.format()) {
    case QImage::Format_RGB888:
    case QImage::Format_Grayscale8:
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        break;
    case QImage::Format_Indexed8:
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        colours_ = image_.colorTable();
        // Indices beyond a short colour table read as black, never out of bounds.
        colours_.resize(image_.format() == QImage::Format_Indexed8 ? 256 : 2, qRgb(0, 0, 0));
        break;
    default:
        image_ = image_.convertToFormat(QImage::Format_RGB888);
    }
}

const uchar *RgbRows::rgbRow(int y, uchar *scratch) const
{
    const uchar *line = image_.constScanLine(y);
    const int w = image_.width();
    auto put = [scratch](int x, QRgb c) {
        scratch[3 * x] = uchar(qRed(c));
        scratch[3 * x + 1] = uchar(qGreen(c));
        scratch[3 * x + 2] = uchar(qBlue(c));
    };
    switch (image_.format()) {
    case QImage::Format_RGB888:
        return line;
    case QImage::Format_Grayscale8:
        for (int x = 0; x < w; ++x)
            scratch[3 * x] = scratch[3 * x + 1] = scratch[3 * x + 2] = line[x];
        break;
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:  // alpha is dropped
        for (int x = 0; x < w; ++x)
            put(x, reinterpret_cast<const QRgb *>(line)[x]);
        break;
    case QImage::Format_Indexed8:
        for (int x = 0; x < w; ++x)
            put(x, colours_[line[x]]);
        break;
    case QImage::Format_Mono:
        for (int x = 0; x < w; ++x)
            put(x, colours_[(line[x >> 3] >> (7 - (x & 7))) & 1]);
        break;
    case QImage::Format_MonoLSB:
        for (int x = 0; x < w; ++x)
            put(x, colours_[(line[x >> 3] >> (x & 7)) & 1]);
        break;
    default:
        Q_UNREACHABLE();
    }
    return scratch;
}

void packIndices(const QImage &image, int y, int bits, uchar *out)
{
    const uchar *line = image.constScanLine(y);
    const int w = image.width();
    if (image.format() == QImage::Format_Indexed8 && bits == 8) {
        std::copy(line, line + w, out);
        return;
    }
    if (image.format() == QImage::Format_Mono && bits == 1) {
        std::copy(line, line + (w + 7) / 8, out);
        return;
    }
    auto index = [&](int x) -> int {
        switch (image.format()) {
        case QImage::Format_Mono: return (line[x >> 3] >> (7 - (x & 7))) & 1;
        case QImage::Format_MonoLSB: return (line[x >> 3] >> (x & 7)) & 1;
        default: return line[x];
        }
    };
    const int perByte = 8 / bits;
    const int mask = (1 << bits) - 1;
    std::fill(out, out + (w + perByte - 1) / perByte, uchar(0));
    for (int x = 0; x < w; ++x)
        out[x / perByte] |= uchar((index(x) & mask) << (8 - bits * (x % perByte + 1)));
}

const QList<QRgb> &vgaPalette()
{
    static const QList<QRgb> colours = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    return colours;
}

namespace {

int allocate(int width, int height, QImage::Format format, QImage &out)
{
    out = newPicture(width, height, format);
    return out.isNull() ? OutOfMemory : Ok;
}

// Distinct colours of a picture, up to a limit, with their palette indices.
class ColourIndex {
public:
    explicit ColourIndex(int limit) : limit_(limit) { keys_.fill(0); }
    // The colour's index, -1 once the picture has more colours than the limit.
    int index(quint32 rgb)
    {
        const quint32 key = rgb | 0xff000000u;  // never 0, the empty slot
        quint32 slot = (rgb * 2654435761u) >> (32 - kBits);
        while (keys_[slot] != 0 && keys_[slot] != key)
            slot = (slot + 1) & (kSlots - 1);
        if (keys_[slot] == key)
            return values_[slot];
        if (colours_.size() == limit_)
            return -1;
        keys_[slot] = key;
        values_[slot] = uchar(colours_.size());
        colours_.append(key);
        return values_[slot];
    }
    const QList<QRgb> &colours() const { return colours_; }

private:
    static constexpr int kBits = 10;
    static constexpr quint32 kSlots = 1u << kBits;  // 4 times the largest limit
    std::array<quint32, kSlots> keys_;
    std::array<uchar, kSlots> values_{};
    QList<QRgb> colours_;
    int limit_;
};

// A picture of at most `limit` colours keeps exactly those colours. False
// (and `out` unusable) when it has more.
bool keepColours(const RgbRows &rows, int limit, QImage &out)
{
    if (allocate(rows.width(), rows.height(), QImage::Format_Indexed8, out) != Ok)
        return false;
    ColourIndex colours(limit);
    std::vector<uchar> scratch(size_t(rows.width()) * 3);
    quint32 last = 0xffffffffu;
    int lastIndex = 0;
    for (int y = 0; y < rows.height(); ++y) {
        const uchar *rgb = rows.rgbRow(y, scratch.data());
        uchar *line = out.scanLine(y);
        for (int x = 0; x < rows.width(); ++x, rgb += 3) {
            const quint32 c = quint32(rgb[0]) << 16 | quint32(rgb[1]) << 8 | rgb[2];
            if (c != last) {
                lastIndex = colours.index(c);
                if (lastIndex < 0)
                    return false;
                last = c;
            }
            line[x] = uchar(lastIndex);
        }
    }
    out.setColorTable(colours.colours());
    return true;
}

// Floyd–Steinberg error diffusion over `Channels` values per pixel. `values`
// turns an RGB pixel into the wanted values (0..255); `choose` stores the
// pixel nearest to them and returns the values it stands for. Without
// dithering each pixel is chosen alone. `sixteenths` of the error are passed
// on: with a palette, passing it all lets errors pile up where the palette has
// gaps, which shows as streaks; 14 of 16 keeps the tones and not the streaks.
template <int Channels, typename Values, typename Choose>
void diffuse(const RgbRows &rows, bool dither, int sixteenths, Values values, Choose choose)
{
    const int w = rows.width();
    std::vector<uchar> scratch(size_t(w) * 3);
    // Errors times 16, with a guard pixel on each side.
    std::vector<int> current(size_t(w + 2) * Channels, 0), next(current.size(), 0);
    for (int y = 0; y < rows.height(); ++y) {
        const uchar *rgb = rows.rgbRow(y, scratch.data());
        for (int x = 0; x < w; ++x) {
            int want[Channels];
            values(rgb + 3 * x, want);
            int *err = &current[size_t(x + 1) * Channels];
            if (dither)
                for (int c = 0; c < Channels; ++c)
                    want[c] = std::clamp(want[c] + (err[c] >> 4), 0, 255);
            const int *got = choose(x, y, want);
            if (!dither)
                continue;
            int *below = &next[size_t(x + 1) * Channels];
            for (int c = 0; c < Channels; ++c) {
                const int e = (want[c] - got[c]) * sixteenths / 16;
                err[Channels + c] += e * 7;
                below[c - Channels] += e * 3;
                below[c] += e * 5;
                below[c + Channels] += e;
            }
        }
        if (dither) {
            current.swap(next);
            std::fill(next.begin(), next.end(), 0);
        }
    }
}

int toMono(const RgbRows &rows, bool dither, QImage &out)
{
    if (allocate(rows.width(), rows.height(), QImage::Format_Mono, out) != Ok)
        return OutOfMemory;
    out.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    out.fill(0);
    static const int black = 0, white = 255;
    uchar *bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    diffuse<1>(
        rows, dither, 16,
        [](const uchar *rgb, int *v) { v[0] = (rgb[0] * 77 + rgb[1] * 150 + rgb[2] * 29) >> 8; },
        [bits, stride](int x, int y, const int *want) {
            if (want[0] < 128)
                return &black;
            bits[y * stride + (x >> 3)] |= uchar(0x80 >> (x & 7));
            return &white;
        });
    return Ok;
}

// The palette entry nearest to a colour. Colours are looked up at 6 bits per
// channel, each cell filled on first use with the entry nearest its centre:
// a photo touches a small part of the cells, and the answer is off by at most
// two levels per channel.
class NearestColour {
public:
    explicit NearestColour(const QList<QRgb> &palette)
        : table_(kCells), filled_(kCells / 64, 0)
    {
        for (const QRgb c : palette)
            colours_.push_back({qRed(c), qGreen(c), qBlue(c)});
    }
    int index(const int *rgb)
    {
        const unsigned cell = unsigned((rgb[0] >> 2) << 12 | (rgb[1] >> 2) << 6 | rgb[2] >> 2);
        quint64 &word = filled_[cell >> 6];
        const quint64 bit = quint64(1) << (cell & 63);
        if (!(word & bit)) {
            table_[cell] = search((rgb[0] & ~3) | 2, (rgb[1] & ~3) | 2, (rgb[2] & ~3) | 2);
            word |= bit;
        }
        return table_[cell];
    }
    const int *colour(int index) const { return colours_[size_t(index)].data(); }
    // Squared distance between a colour and a palette entry.
    int distance(int r, int g, int b, int index) const
    {
        const std::array<int, 3> &c = colours_[size_t(index)];
        return (r - c[0]) * (r - c[0]) + (g - c[1]) * (g - c[1]) + (b - c[2]) * (b - c[2]);
    }

private:
    static constexpr size_t kCells = size_t(1) << 18;
    uchar search(int r, int g, int b) const
    {
        int best = 0, bestDistance = INT_MAX;
        for (size_t i = 0; i < colours_.size(); ++i) {
            const int distance = this->distance(r, g, b, int(i));
            if (distance < bestDistance) {
                bestDistance = distance;
                best = int(i);
            }
        }
        return uchar(best);
    }
    std::vector<std::array<int, 3>> colours_;
    // Compact enough (288 KB) to stay in the processor's second-level cache.
    std::vector<uchar> table_;
    std::vector<quint64> filled_;
};

// A pixel repeats its left neighbour's entry when that is at most this much
// (squared distance) farther than the nearest one: on grainy photos the runs
// make LZW files (GIF, TIFF) about 0.5 % smaller, and error diffusion carries the
// difference on, so the picture loses under 0.05 dB. Without diffusion nothing
// would carry it: each pixel then keeps its nearest entry.
constexpr int kRepeatSlack = 64;

// Every pixel to its nearest palette colour, with error diffusion when asked
// (10 sixteenths of the error: measured on grainy 12-megapixel photos, closer
// to the source than full diffusion by over 1 dB, and than vips's by 0.25 dB, in
// a file no larger).
int remap(const RgbRows &rows, const QList<QRgb> &palette, bool dither, QImage &out)
{
    if (allocate(rows.width(), rows.height(), QImage::Format_Indexed8, out) != Ok)
        return OutOfMemory;
    out.setColorTable(palette);
    NearestColour nearest(palette);
    uchar *bits = out.bits();
    const qsizetype stride = out.bytesPerLine();
    int left = 0;
    diffuse<3>(
        rows, dither, 10,
        [](const uchar *rgb, int *v) {
            v[0] = rgb[0];
            v[1] = rgb[1];
            v[2] = rgb[2];
        },
        [bits, stride, &nearest, &left, dither](int x, int y, const int *want) {
            int i = nearest.index(want);
            if (dither && x > 0 && i != left &&
                nearest.distance(want[0], want[1], want[2], left) <=
                    nearest.distance(want[0], want[1], want[2], i) + kRepeatSlack)
                i = left;
            left = i;
            bits[y * stride + x] = uchar(i);
            return nearest.colour(i);
        });
    return Ok;
}

// libimagequant reads the picture through a row callback, so no RGBA copy of
// the whole picture is ever made. The palette is made from every `step`-th row.
struct Feed {
    const RgbRows *rows;
    int step;
};

void feedRow(liq_color rowOut[], int row, int width, void *user)
{
    const auto *feed = static_cast<const Feed *>(user);
    // The RGB row may be built in the back of the RGBA row: each RGBA pixel is
    // written only after its RGB bytes, which lie beyond it, have been read.
    auto *bytes = reinterpret_cast<uchar *>(rowOut);
    const uchar *rgb = feed->rows->rgbRow(row * feed->step, bytes + width);
    for (int x = 0; x < width; ++x, rgb += 3) {
        const liq_color c{rgb[0], rgb[1], rgb[2], 255};
        rowOut[x] = c;
    }
}

template <typename T, void (*Destroy)(T *)>
struct LiqDeleter {
    void operator()(T *p) const { Destroy(p); }
};
using LiqAttr = std::unique_ptr<liq_attr, LiqDeleter<liq_attr, liq_attr_destroy>>;
using LiqImage = std::unique_ptr<liq_image, LiqDeleter<liq_image, liq_image_destroy>>;
using LiqResult = std::unique_ptr<liq_result, LiqDeleter<liq_result, liq_result_destroy>>;

// About this many pixels make the palette; more cost time and change little.
constexpr qint64 kPalettePixels = qint64(1) << 19;
// libimagequant's default speed: speed 8 costs 0.35 dB on photos, and the
// palette is made from the sample alone, so the slower search costs little.
constexpr int kSpeed = 4;

// The palette comes from libimagequant, which reads every `step`-th row; the
// pixels are then mapped by remap(), much faster than the library's own
// remapping of a whole photo and as close in the mean.
int quantize(const RgbRows &rows, int colours, bool dither, QImage &out)
{
    const int w = rows.width(), h = rows.height();
    const LiqAttr attr(liq_attr_create());
    if (!attr)
        return OutOfMemory;
    liq_set_max_colors(attr.get(), colours);
    liq_set_speed(attr.get(), kSpeed);
    const int step = int(std::max<qint64>(1, qint64(w) * h / kPalettePixels));
    Feed sample{&rows, step};
    const LiqImage sampled(
        liq_image_create_custom(attr.get(), feedRow, &sample, w, (h + step - 1) / step, 0));
    if (!sampled)
        return OutOfMemory;
    liq_result *made = nullptr;
    if (const liq_error e = liq_image_quantize(sampled.get(), attr.get(), &made); e != LIQ_OK)
        return e == LIQ_OUT_OF_MEMORY ? OutOfMemory : Failed;
    const LiqResult result(made);
    const liq_palette *palette = liq_get_palette(result.get());
    QList<QRgb> table;
    for (unsigned i = 0; i < palette->count; ++i)
        table.append(qRgb(palette->entries[i].r, palette->entries[i].g, palette->entries[i].b));
    return remap(rows, table, dither, out);
}

int toPalette(const RgbRows &rows, int colours, bool dither, QImage &out)
{
    if (keepColours(rows, colours, out))
        return Ok;
    return quantize(rows, colours, dither, out);
}

}  // namespace

int toDepth(const QImage &source, int bits, bool dither, QImage &out)
{
    if (!validDepth(bits))
        return BadDepth;
    if (source.isNull())
        return EmptyPicture;
    if (bits == 24) {
        out = source.format() == QImage::Format_RGB888
                  ? source
                  : source.convertToFormat(QImage::Format_RGB888);
        return out.isNull() ? OutOfMemory : Ok;
    }
    const RgbRows rows(source);
    if (rows.width() == 0)
        return OutOfMemory;  // the picture's conversion to RGB888 failed
    QImage made;
    int result = Ok;
    switch (bits) {
    case 1: result = toMono(rows, dither, made); break;
    case 0: result = remap(rows, vgaPalette(), dither, made); break;
    case 4: result = toPalette(rows, 16, dither, made); break;
    default: result = toPalette(rows, 256, dither, made); break;
    }
    if (result == Ok) {
        made.setDotsPerMeterX(source.dotsPerMeterX());
        made.setDotsPerMeterY(source.dotsPerMeterY());
        out = std::move(made);
    }
    return result;
}

}  // namespace sky
