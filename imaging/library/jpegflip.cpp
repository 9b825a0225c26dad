#include "jpegflip.h"

#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace sky {

bool transformJpeg(const QByteArray &jpeg, bool flip, bool mirror, QByteArray &out)
{
    tjhandle handle = tjInitTransform();
    if (!handle)
        return false;
    tjtransform transform{};
    transform.op = flip && mirror ? TJXOP_ROT180 : flip ? TJXOP_VFLIP : mirror ? TJXOP_HFLIP : TJXOP_NONE;
    transform.options = TJXOPT_PERFECT;
    unsigned char *result = nullptr;
    unsigned long resultSize = 0;
    const bool done = tjTransform(handle, reinterpret_cast<const unsigned char *>(jpeg.constData()),
                                  static_cast<unsigned long>(jpeg.size()), 1, &result, &resultSize, &transform,
                                  0) == 0;
    if (done)
        out = QByteArray(reinterpret_cast<const char *>(result), qsizetype(resultSize));
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
    const qsizetype size = jpeg.size();
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return 0;
    qsizetype at = 2;
    while (at + 4 <= size && data[at] == 0xFF) {
        const int marker = data[at + 1];
        const qsizetype length = (data[at + 2] << 8) | data[at + 3];
        if (marker == 0xDA || marker == 0xD9 || length < 2 || at + 2 + length > size)
            break;
        if (marker == 0xDB) {
            qsizetype table = at + 4;
            const qsizetype end = at + 2 + length;
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
        at += 2 + length;
    }
    return 0;
}

}  // namespace sky
