// One libFuzzer target per decoder (VISTA_FUZZ_DECODER): any input must give
// a status, and a whole picture exactly when the status is a success.
#include "bytes.h"
#include "codecs.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QImage image;
    const int status = sky::VISTA_FUZZ_DECODER(data, qint64(size), image);
    if ((status > 0) == image.isNull())
        std::abort();
    // Every pixel names a colour of the palette (checked on pictures of up to
    // 4 megapixels: larger ones would slow the target down too much).
    if (image.format() == QImage::Format_Indexed8 && qint64(image.width()) * image.height() <= 1 << 22) {
        for (int y = 0; y < image.height(); ++y) {
            const uchar *row = image.constScanLine(y);
            if (*std::max_element(row, row + image.width()) >= image.colorCount())
                std::abort();
        }
    }
    return 0;
}
