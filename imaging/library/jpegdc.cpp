#include "jpegdc.h"

#include "jpegscan.h"
#include "orientation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <numbers>
#include <numeric>
#include <tuple>
#include <vector>

namespace sky {
namespace {

using namespace jpegscan;

// The segments libjpeg reads beside the picture's own: density, orientation,
// and what says how the three components are coded.
struct Markers {
    int densityUnit = 0, densityX = 0, densityY = 0;
    int orientation = 1;
    bool exifSeen = false;
    bool adobe = false;
    int adobeTransform = 0;
};

Markers markersOf(const uchar *data, const std::vector<std::pair<size_t, size_t>> &segments)
{
    static constexpr uchar kJfif[] = "JFIF";   // each with its terminating zero
    static constexpr uchar kExif[] = "Exif\0";
    static constexpr uchar kAdobe[] = "Adobe";
    const auto startsWith = [](const uchar *body, size_t size, const uchar *id, size_t length) {
        return size >= length && std::memcmp(body, id, length) == 0;
    };
    Markers m;
    for (const auto &[at, length] : segments) {
        if (length < 4)
            continue;  // the SOI
        const uchar marker = data[at + 1];
        const uchar *body = data + at + 4;
        const size_t size = length - 4;
        // As libjpeg: each JFIF segment of its full length overwrites the density.
        if (marker == 0xE0 && size >= 14 && startsWith(body, size, kJfif, sizeof kJfif)) {
            m.densityUnit = body[7];
            m.densityX = be16(body + 8);
            m.densityY = be16(body + 10);
        } else if (marker == 0xE1 && !m.exifSeen && startsWith(body, size, kExif, sizeof kExif)) {
            m.exifSeen = true;
            m.orientation = exifOrientation(body, qsizetype(size));
        } else if (marker == 0xEE && size >= 12 && startsWith(body, size, kAdobe, sizeof kAdobe - 1)) {
            m.adobe = true;
            m.adobeTransform = body[11];
        }
    }
    return m;
}

// A component's samples at 1/8 over the whole units of the scan: one a block, or
// 2 x 2 for a component halved both ways.
struct Plane {
    uchar *samples = nullptr;
    long stride = 0;
    int shiftX = 0;  // 1 where the component has half the picture's samples across
    int shiftY = 0;
};

// libjpeg's 1 x 1 inverse DCT: the dequantised DC over 8, rounded, level-shifted, clamped.
inline uchar dcSample(int dc, int q0) { return uchar(std::clamp(((dc * q0 + 4) >> 3) + 128, 0, 255)); }

// A block's 2 x 2 picture, what libjpeg gives at 1/8 of a component halved both
// ways: each sample the mean of a quarter of the block. Only the DC and the odd
// frequencies have a mean over half a block other than 0, and of these the
// reading keeps the lowest (kLowPlaces): `weight` is the product of the 1-D means
// over the first half, dequantised; over the second half the odd frequency
// changes sign.
static_assert(kLowPlaces == 3, "the quarter means read the DC and the two first frequencies");
struct QuarterMeans {
    float weight[kLowPlaces] = {};
    explicit QuarterMeans(const uint16_t *quant)
    {
        const auto mean = [](int u) {
            if (u == 0)
                return 1 / (2 * std::sqrt(2.0));
            if (u % 2 == 0)
                return 0.0;
            double sum = 0;
            for (int x = 0; x < 4; ++x)
                sum += std::cos((2 * x + 1) * u * std::numbers::pi / 16);
            return sum / 8;
        };
        for (int k = 0; k < kLowPlaces; ++k) {
            const int n = kNaturalOfZigzag[k];
            weight[k] = float(mean(n % 8) * mean(n / 8) * quant[n]);
        }
    }
    // From the DC, the first horizontal and the first vertical frequency (zigzag 0, 1, 2).
    void samples(const int16_t *low, uchar *out, long stride) const
    {
        const float dc = weight[0] * float(low[0]);
        const float across = weight[1] * float(low[1]);
        const float down = weight[2] * float(low[2]);
        const float sum[4] = {dc + across + down, dc - across + down, dc + across - down, dc - across - down};
        for (int i = 0; i < 4; ++i)
            out[(i / 2) * stride + i % 2] = uchar(std::clamp(sum[i] + 128.5f, 0.f, 255.f));
    }
};

// JFIF's YCbCr to RGB in libjpeg's 16-bit fixed point, so that the colours are its own.
struct ColourTables {
    std::array<int, 256> crR{}, cbB{}, crG{}, cbG{};
    ColourTables()
    {
        constexpr int kBits = 16;
        constexpr int kHalf = 1 << (kBits - 1);
        const auto fix = [](double x) { return int(x * (1 << kBits) + 0.5); };
        for (int i = 0; i < 256; ++i) {
            const int x = i - 128;
            crR[size_t(i)] = (fix(1.40200) * x + kHalf) >> kBits;
            cbB[size_t(i)] = (fix(1.77200) * x + kHalf) >> kBits;
            crG[size_t(i)] = -fix(0.71414) * x;
            cbG[size_t(i)] = -fix(0.34414) * x + kHalf;
        }
    }
};

void toRgb(const Plane &y, const Plane &cb, const Plane &cr, QImage &image)
{
    static const ColourTables t;
    const auto clamp = [](int v) { return uchar(std::clamp(v, 0, 255)); };
    for (int row = 0; row < image.height(); ++row) {
        const uchar *luma = y.samples + row * y.stride;
        const uchar *blue = cb.samples + (row >> cb.shiftY) * cb.stride;
        const uchar *red = cr.samples + (row >> cr.shiftY) * cr.stride;
        uchar *out = image.scanLine(row);
        for (int x = 0; x < image.width(); ++x, out += 3) {
            const int l = luma[x];
            const uchar b = blue[x >> cb.shiftX], r = red[x >> cr.shiftX];
            out[0] = clamp(l + t.crR[r]);
            out[1] = clamp(l + ((t.cbG[b] + t.crG[r]) >> 16));
            out[2] = clamp(l + t.cbB[b]);
        }
    }
}

void toGrey(const Plane &y, bool indexed, QImage &image)
{
    for (int row = 0; row < image.height(); ++row) {
        const uchar *luma = y.samples + row * y.stride;
        uchar *out = image.scanLine(row);
        if (indexed) {
            std::memcpy(out, luma, size_t(image.width()));
            continue;
        }
        for (int x = 0; x < image.width(); ++x, out += 3)
            out[0] = out[1] = out[2] = luma[x];
    }
}

// Whether the components are ones this decoding gives as libjpeg would: grey,
// or YCbCr (as libjpeg takes three components without an Adobe segment saying
// otherwise nor RGB's ids) with the luminance whole and the chrominance whole
// or halved each way.
bool takenColours(const Layout &layout, const Markers &markers)
{
    if (layout.frameIds.size() == 1)
        return true;
    if (layout.frameIds.size() != 3 || (markers.adobe && markers.adobeTransform != 1))
        return false;
    const std::vector<int> &ids = layout.frameIds;
    if ((ids[0] == 'R' && ids[1] == 'G' && ids[2] == 'B') || (ids[0] == 'r' && ids[1] == 'g' && ids[2] == 'b'))
        return false;
    if (layout.hMax > 2 || layout.vMax > 2)
        return false;
    for (const Component &c : layout.components) {
        const bool luminance = c.id == ids[0];
        if (luminance ? c.h != layout.hMax || c.v != layout.vMax : layout.hMax % c.h != 0 || layout.vMax % c.v != 0)
            return false;
    }
    return true;
}

}  // namespace

namespace {

// What readings kept, for the next ones: no more pieces than readings run at once.
struct KeptScratch {
    std::mutex lock;
    std::vector<std::pair<std::unique_ptr<uchar[]>, size_t>> pieces;
};
KeptScratch &keptScratch()
{
    static KeptScratch kept;
    return kept;
}

}  // namespace

Scratch::Scratch()
{
    KeptScratch &kept = keptScratch();
    const std::lock_guard<std::mutex> locked(kept.lock);
    if (!kept.pieces.empty()) {
        std::tie(data_, size_) = std::move(kept.pieces.back());
        kept.pieces.pop_back();
    }
}

Scratch::~Scratch()
{
    constexpr size_t kKept = size_t(16) << 20;
    constexpr size_t kPieces = 16;
    if (!data_ || size_ > kKept)
        return;
    KeptScratch &kept = keptScratch();
    const std::lock_guard<std::mutex> locked(kept.lock);
    if (kept.pieces.size() < kPieces)
        kept.pieces.emplace_back(std::move(data_), size_);
}

uchar *Scratch::take(size_t size)
{
    if (size > size_) {
        data_.reset(new (std::nothrow) uchar[size]);
        size_ = data_ ? size : 0;
    }
    return data_.get();
}

int decodeDc(const uchar *data, size_t size, bool grey, ProgressTracker &tracker, qint64 steps, DcPicture &out)
{
    out = DcPicture();
    Layout layout;
    std::vector<std::pair<size_t, size_t>> segments;
    if (!parseHeaders(data, size, layout, segments))
        return Unsupported;
    const Markers markers = markersOf(data, segments);
    if (!takenColours(layout, markers))
        return Unsupported;
    const int width = (layout.width + 7) / 8, height = (layout.height + 7) / 8;
    if (checkDecodedSize(width, height) != Ok)
        return Unsupported;
    Codes codes[2][4];
    for (int kind = 0; kind < 2; ++kind)
        for (int slot = 0; slot < 4; ++slot)
            if (!layout.tables[kind][slot].symbols.empty() && !build(layout.tables[kind][slot], codes[kind][slot]))
                return Unsupported;

    // The planes in the frame's order (luminance first), and where the blocks
    // of each of the scan's components go: one sample a block, or 2 x 2 for a
    // component halved both ways, as libjpeg scales those.
    const bool interleaved = layout.components.size() > 1;
    std::vector<Plane> planes(layout.frameIds.size());
    struct Target {
        uchar *samples = nullptr;
        long stride = 0;
        int across = 1;       // samples a block takes across: 1 or 2
        int h = 1;            // blocks across a unit
        long offset[4] = {};  // of each block of a unit from the unit's first sample
        int q0 = 1;
        std::unique_ptr<QuarterMeans> quarters;
        size_t plane = 0;  // in the frame's order
    };
    std::vector<Target> targets(layout.components.size());
    std::vector<size_t> sizes;  // of each target's samples
    unsigned withLow = 0;
    for (size_t ci = 0; ci < layout.components.size(); ++ci) {
        const Component &c = layout.components[ci];
        const size_t frameIndex =
            size_t(std::find(layout.frameIds.begin(), layout.frameIds.end(), c.id) - layout.frameIds.begin());
        Plane &plane = planes[frameIndex];
        Target &t = targets[ci];
        t.plane = frameIndex;
        const bool quartered = layout.hMax == 2 * c.h && layout.vMax == 2 * c.v;
        const int v = interleaved ? c.v : 1;
        t.h = interleaved ? c.h : 1;
        t.across = quartered ? 2 : 1;
        plane.stride = layout.across * t.h * t.across;
        sizes.push_back(size_t(plane.stride * layout.down * v * t.across));
        plane.shiftX = quartered ? 0 : layout.hMax / c.h - 1;
        plane.shiftY = quartered ? 0 : layout.vMax / c.v - 1;
        t.stride = plane.stride;
        for (int b = 0; b < t.h * v; ++b)
            t.offset[b] = (b / t.h) * t.across * t.stride + (b % t.h) * t.across;
        t.q0 = layout.quant[c.quant][0];
        if (quartered) {
            t.quarters = std::make_unique<QuarterMeans>(layout.quant[c.quant]);
            withLow |= 1u << ci;
        }
    }

    Scratch scratch;
    uchar *samples = scratch.take(std::accumulate(sizes.begin(), sizes.end(), size_t(0)));
    if (!samples)
        return Unsupported;
    for (size_t ci = 0; ci < targets.size(); ++ci) {
        planes[targets[ci].plane].samples = targets[ci].samples = samples;
        samples += sizes[ci];
    }

    long rowStart = 0;  // the first unit of the row being decoded
    std::vector<uchar *> rowSamples(targets.size());
    bool stopped = false;
    const uchar *stop = nullptr;
    const bool decoded = decodeBlocks(
        layout, codes, data + layout.dataStart, data + size, 0u,
        [&](int c, long unit, int block, int16_t *zigzag, uint64_t) {
            const Target &t = targets[size_t(c)];
            uchar *at = rowSamples[size_t(c)] + (unit - rowStart) * t.h * t.across + t.offset[block];
            if (t.quarters)
                t.quarters->samples(zigzag, at, t.stride);
            else
                *at = dcSample(zigzag[0], t.q0);
        },
        [&](long unitRow, const uchar *) {
            rowStart = unitRow * layout.across;
            for (size_t c = 0; c < targets.size(); ++c) {
                const int v = interleaved ? layout.components[c].v : 1;
                rowSamples[c] = targets[c].samples + unitRow * v * targets[c].across * targets[c].stride;
            }
            stopped = !tracker.step(unitRow * steps / layout.down);
            return !stopped;
        },
        &stop, withLow);
    if (stopped)
        return Stopped;
    if (!decoded || stop + 2 > data + size || stop[0] != 0xFF || stop[1] != 0xD9)
        return Unsupported;

    const bool indexed = grey && planes.size() == 1;
    QImage image = indexed ? newGreyPicture(width, height) : newPicture(width, height, QImage::Format_RGB888);
    if (image.isNull())
        return Unsupported;
    if (planes.size() == 1)
        toGrey(planes[0], indexed, image);
    else
        toRgb(planes[0], planes[1], planes[2], image);
    out.image = std::move(image);
    out.orientation = markers.orientation;
    out.densityUnit = markers.densityUnit;
    out.densityX = markers.densityX;
    out.densityY = markers.densityY;
    return Ok;
}

}  // namespace sky
