#include "jpegflip.h"

#include "orientation.h"

#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace sky {

namespace {

// One of the eight turns of a picture, as where a pixel goes (y downward):
// x' = xx x + xy y, y' = yx x + yy y. In the order of the EXIF orientations 1..8,
// each being the turn that brings the stored picture upright.
struct Turn {
    TJXOP op;
    int xx, xy, yx, yy;
};
constexpr Turn kTurns[] = {
    {TJXOP_NONE, 1, 0, 0, 1},        {TJXOP_HFLIP, -1, 0, 0, 1},  {TJXOP_ROT180, -1, 0, 0, -1},
    {TJXOP_VFLIP, 1, 0, 0, -1},      {TJXOP_TRANSPOSE, 0, 1, 1, 0}, {TJXOP_ROT90, 0, -1, 1, 0},
    {TJXOP_TRANSVERSE, 0, -1, -1, 0}, {TJXOP_ROT270, 0, 1, -1, 0}};

// `first`, then `second`.
TJXOP combined(const Turn &first, const Turn &second)
{
    const int xx = second.xx * first.xx + second.xy * first.yx;
    const int xy = second.xx * first.xy + second.xy * first.yy;
    const int yx = second.yx * first.xx + second.yy * first.yx;
    const int yy = second.yx * first.xy + second.yy * first.yy;
    for (const Turn &turn : kTurns)
        if (turn.xx == xx && turn.xy == xy && turn.yx == yx && turn.yy == yy)
            return turn.op;
    return TJXOP_NONE;  // the eight turns are closed under composition: not reached
}

struct Segment {
    int marker;
    qsizetype at;    // its 0xFF
    qsizetype size;  // marker and length bytes included
};

// The marker segments before the first scan.
QList<Segment> headerSegments(const QByteArray &jpeg)
{
    QList<Segment> segments;
    const auto *data = reinterpret_cast<const uchar *>(jpeg.constData());
    const qsizetype size = jpeg.size();
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return segments;
    qsizetype at = 2;
    while (at + 4 <= size && data[at] == 0xFF) {
        const int marker = data[at + 1];
        const qsizetype length = (data[at + 2] << 8) | data[at + 3];
        if (marker == 0xDA || marker == 0xD9 || length < 2 || at + 2 + length > size)
            break;
        segments.append({marker, at, 2 + length});
        at += 2 + length;
    }
    return segments;
}

// The first APP1 segment holding an EXIF block.
const Segment *exifSegment(const QByteArray &jpeg, const QList<Segment> &segments)
{
    static const QByteArray kExif("Exif\0\0", 6);
    for (const Segment &segment : segments)
        if (segment.marker == 0xE1 && jpeg.mid(segment.at + 4, 6) == kExif)
            return &segment;
    return nullptr;
}

// `jpeg` whose EXIF block says it is stored turned, with that block saying it is
// upright; without the segment when the block cannot be stored again.
QByteArray withoutTurn(const QByteArray &jpeg)
{
    const QList<Segment> segments = headerSegments(jpeg);
    const Segment *segment = exifSegment(jpeg, segments);
    if (!segment)
        return jpeg;
    const QByteArray block = exifWithoutTurn(jpeg.mid(segment->at + 4, segment->size - 4));
    QByteArray replacement;
    if (!block.isEmpty() && block.size() + 2 <= 0xFFFF) {
        replacement = QByteArray("\xFF\xE1", 2);
        replacement.append(char((block.size() + 2) >> 8)).append(char((block.size() + 2) & 0xFF)).append(block);
    }
    return QByteArray(jpeg).replace(segment->at, segment->size, replacement);
}

int orientationOf(const QByteArray &jpeg)
{
    const QList<Segment> segments = headerSegments(jpeg);
    const Segment *segment = exifSegment(jpeg, segments);
    return segment ? exifOrientation(reinterpret_cast<const uchar *>(jpeg.constData()) + segment->at + 4,
                                     segment->size - 4)
                   : 1;
}

}  // namespace

bool transformJpeg(const QByteArray &jpeg, bool flip, bool mirror, QByteArray &out)
{
    tjhandle handle = tjInitTransform();
    if (!handle)
        return false;
    // The user turned the picture as it was shown, upright: the stored one is
    // brought upright first, and its EXIF block then says it is.
    const int orientation = orientationOf(jpeg);
    const Turn &asked = kTurns[flip && mirror ? 2 : flip ? 3 : mirror ? 1 : 0];
    tjtransform transform{};
    transform.op = combined(kTurns[orientation - 1], asked);
    transform.options = TJXOPT_PERFECT;
    unsigned char *result = nullptr;
    unsigned long resultSize = 0;
    const bool done = tjTransform(handle, reinterpret_cast<const unsigned char *>(jpeg.constData()),
                                  static_cast<unsigned long>(jpeg.size()), 1, &result, &resultSize, &transform,
                                  0) == 0;
    if (done) {
        out = QByteArray(reinterpret_cast<const char *>(result), qsizetype(resultSize));
        if (orientation != 1)
            out = withoutTurn(out);
    }
    tjFree(result);
    tjDestroy(handle);
    return done;
}

int jpegQuality(const QByteArray &jpeg)
{
    // The luminance table of the JPEG standard (its Annex K), which libjpeg scales by quality.
    static const int standard[64] = {16, 11, 10,  16,  24,  40,  51,  61,  12, 12, 14, 19,  26,  58,  60,  55,
                                     14, 13, 16,  24,  40,  57,  69,  56,  14, 17, 22, 29,  51,  87,  80,  62,
                                     18, 22, 37,  56,  68,  109, 103, 77,  24, 35, 55, 64,  81,  104, 113, 92,
                                     49, 64, 78,  87,  103, 121, 120, 101, 72, 92, 95, 98,  112, 100, 103, 99};
    const auto *data = reinterpret_cast<const uchar *>(jpeg.constData());
    for (const Segment &segment : headerSegments(jpeg)) {
        if (segment.marker == 0xDB) {
            qsizetype table = segment.at + 4;
            const qsizetype end = segment.at + segment.size;
            while (table < end) {
                const bool wide = data[table] >> 4;
                const int id = data[table] & 15;
                const qsizetype bytes = 64 * (wide ? 2 : 1);
                if (table + 1 + bytes > end)
                    break;
                if (id == 0) {
                    long sum = 0;
                    for (int i = 0; i < 64; ++i)
                        sum += wide ? (data[table + 1 + 2 * i] << 8) | data[table + 2 + 2 * i] : data[table + 1 + i];
                    if (sum == 64)  // every step 1: only quality 100 gives that
                        return 100;
                    // Quality q scales the table by 5000/q below 50 and by 200 - 2q from 50 up (percent).
                    const double scale = 100.0 * double(sum) / std::accumulate(standard, standard + 64, 0);
                    const double quality = scale <= 100 ? (200 - scale) / 2 : 5000 / scale;
                    return std::clamp(int(std::lround(quality)), 1, 100);
                }
                table += 1 + bytes;
            }
        }
    }
    return 0;
}

}  // namespace sky
