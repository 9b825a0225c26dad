// One libFuzzer target per decoder (VISTA_FUZZ_DECODER): any input must give
// a status, and a whole picture exactly when the status is a success.
#include "bytes.h"
#include "codecs.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QImage image;
    const int status = sky::VISTA_FUZZ_DECODER(data, qint64(size), image);
    if ((status > 0) == image.isNull())
        std::abort();
    if (image.format() == QImage::Format_Indexed8) {
        // Every pixel names a colour of the palette.
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.constScanLine(y)[x] >= image.colorCount())
                    std::abort();
    }
    return 0;
}
