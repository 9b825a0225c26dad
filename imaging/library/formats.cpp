#include "formats.h"

#include "codecs.h"
#include "skyio.h"

#include <algorithm>

namespace sky {

namespace {

using namespace std::string_view_literals;

int readJpegWhole(const QString &path, int bits, bool dither, QImage &out, const Progress &progress)
{
    return readJpeg(path, bits, 1, dither, out, progress);
}

template <int (*Write)(const QString &, int, const QImage &, const Progress &)>
int writeDepthOnly(const QString &path, int bits, const QImage &image, const WriteOptions &,
                   const Progress &progress)
{
    return Write(path, bits, image, progress);
}

int writePngWith(const QString &path, int bits, const QImage &image, const WriteOptions &options,
                 const Progress &progress)
{
    return writePng(path, bits, options.interlaced, image, progress);
}

int writeJpegWith(const QString &path, int bits, const QImage &image, const WriteOptions &options,
                  const Progress &progress)
{
    return writeJpeg(path, options.quality, options.smoothing, bits, image, progress);
}

int writeTiffWith(const QString &path, int bits, const QImage &image, const WriteOptions &options,
                  const Progress &progress)
{
    return writeTiff(path, options.tiffCompression, bits, image, progress);
}

const FormatRow kFormats[] = {
    {Format::Bmp, "BMP", ".BMP", ".THB", "bmp", {"BM"sv, {}}, 24, false, bmpInfo, readBmp,
     writeDepthOnly<writeBmp>, writeBmpRows},
    {Format::Pcx, "PCX", ".PCX", nullptr, "pcx", {"\x0a"sv, {}}, 24, false, pcxInfo, readPcx,
     writeDepthOnly<writePcx>, writePcxRows},
    {Format::Png, "PNG", ".PNG", nullptr, "png", {"\x89PNG\r\n\x1a\n"sv, {}}, 24, false, pngInfo,
     readPng, writePngWith, writePngRows},
    {Format::Jpeg, "JPEG", ".JPG", ".THJ", "jpg", {"\xff\xd8"sv, {}}, 24, true, jpegInfo,
     readJpegWhole, writeJpegWith, writeJpegRows},
    {Format::Gif, "GIF", ".GIF", nullptr, "gif", {"GIF8"sv, {}}, 8, false, gifInfo, readGif,
     writeDepthOnly<writeGif>, nullptr},
    {Format::Tif, "TIFF", ".TIF", nullptr, "tif", {"II*\0"sv, "MM\0*"sv}, 24, false, tiffInfo,
     readTiff, writeTiffWith, writeTiffRows},
};

const TiffCompression kTiffCompressions[] = {
    {"none", 1}, {"ccitt", 2}, {"lzw", 5}, {"packbits", 32773}};

}  // namespace

std::span<const FormatRow> formats() { return kFormats; }

const FormatRow &formatRow(Format format)
{
    return *std::find_if(std::begin(kFormats), std::end(kFormats),
                         [format](const FormatRow &row) { return row.format == format; });
}

const FormatRow *formatOfExtension(const QString &extension)
{
    for (const FormatRow &row : kFormats)
        for (const char *name : {row.extension, row.thumbnailExtension})
            if (name && extension.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return &row;
    return nullptr;
}

const FormatRow *formatOfSignature(const uchar *head, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(head), size);
    for (const FormatRow &row : kFormats)
        for (const std::string_view signature : row.signatures)
            if (!signature.empty() && bytes.substr(0, signature.size()) == signature)
                return &row;
    return nullptr;
}

int writeDepth(Format format, int bits, bool grey)
{
    const FormatRow &row = formatRow(format);
    if (row.greyOrTrueColour)
        return grey ? 1 : 24;
    return std::min(bits, row.deepest);
}

namespace {
// The format of a file by its first bytes: Ok with `row` set, else the status.
int formatOfFile(const QString &path, const FormatRow *&row)
{
    uchar head[8] = {};
    size_t size = 0;
    const int status = readFile(path, [&](FILE *file) {
        size = std::fread(head, 1, sizeof head, file);
        return Ok;
    });
    row = succeeded(status) ? formatOfSignature(head, size) : nullptr;
    return succeeded(status) && !row ? BadFormat : status;
}
}  // namespace

int fileInfo(const QString &path, FileInfo &info)
{
    const FormatRow *row = nullptr;
    const int status = formatOfFile(path, row);
    return row ? row->info(path, info) : status;
}

int readAnyPicture(const QString &path, int bits, bool dither, QImage &out, const Progress &progress)
{
    out = QImage();
    const FormatRow *row = nullptr;
    const int status = formatOfFile(path, row);
    return row ? row->read(path, bits, dither, out, progress) : status;
}

int writeStreamed(const QString &source, const QString &target, Format format, const WriteOptions &options,
                  const Progress &progress)
{
    const FormatRow &row = formatRow(format);
    if (!row.writeRows)
        return Unsupported;
    const FormatRow *sourceRow = nullptr;
    if (const int status = formatOfFile(source, sourceRow); !sourceRow)
        return status == BadFormat ? int(Unsupported) : status;
    const auto write = [&](RowSource &rows) { return row.writeRows(target, rows, options, progress); };
    switch (sourceRow->format) {
    case Format::Jpeg: return withJpegRows(source, write);
    case Format::Png: return withPngRows(source, write);
    case Format::Tif: return withTiffRows(source, write);
    default: return Unsupported;
    }
}

std::span<const TiffCompression> tiffCompressions() { return kTiffCompressions; }

}  // namespace sky
