// File information: the format is told by the file's first bytes, whatever
// its name, and only its headers are read.
#include "codecs.h"

#include <cstring>

namespace sky {

int fileInfo(const QString &path, FileInfo &info)
{
    int status = Ok;
    FILE *file = openForReading(path, status);
    if (!file)
        return status;
    uchar head[8] = {};
    const size_t n = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    auto starts = [&](const char *signature, size_t size) {
        return n >= size && std::memcmp(head, signature, size) == 0;
    };
    if (starts("\x89PNG\r\n\x1a\n", 8))
        return pngInfo(path, info);
    if (starts("\xff\xd8", 2))
        return jpegInfo(path, info);
    if (starts("GIF8", 4))
        return gifInfo(path, info);
    if (starts("II*\0", 4) || starts("MM\0*", 4))
        return tiffInfo(path, info);
    if (starts("BM", 2))
        return bmpInfo(path, info);
    if (starts("\x0a", 1))
        return pcxInfo(path, info);
    return BadFormat;
}

}  // namespace sky
