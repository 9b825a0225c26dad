// The six file formats of the library in one table: how a file of each begins,
// its names, and its reader, writer and information reader. Everything that
// picks a format by signature, by extension or by name looks here.
#pragma once

#include "sky.h"

#include <QString>
#include <span>
#include <string_view>

namespace sky {

class RowSource;

enum class Format { Bmp, Pcx, Png, Jpeg, Gif, Tif };

// What a writer may be asked beyond the depth; each format takes what concerns it.
struct WriteOptions {
    int quality = 75;         // JPEG, 1..100
    int smoothing = 0;        // JPEG, 0..100
    bool interlaced = false;  // PNG (Adam7)
    int tiffCompression = 1;  // TIFF code (tiffCompressions())
};

struct FormatRow {
    Format format;
    const char *type;                     // FileInfo::type
    const char *extension;                // what files of it are named with: ".JPG"
    const char *thumbnailExtension;       // the program's thumbnails in that format, or null
    const char *option;                   // the converter's name for it: "jpg"
    std::string_view signatures[2];       // first bytes of a file (the second may be empty)
    int deepest;                          // the deepest picture it holds (GIF 8)
    bool greyOrTrueColour;                // holds grey (asked as depth 1) or true colour only
    int (*info)(const QString &path, FileInfo &info);
    int (*read)(const QString &path, int bits, bool dither, QImage &out, const Progress &progress);
    int (*write)(const QString &path, int bits, const QImage &image, const WriteOptions &options,
                 const Progress &progress);
    // Writes true colour from rows as they are decoded; Unsupported for the
    // options that need the whole picture. Null: palettes only (GIF).
    int (*writeRows)(const QString &path, RowSource &rows, const WriteOptions &options, const Progress &progress);
};

[[nodiscard]] std::span<const FormatRow> formats();
[[nodiscard]] const FormatRow &formatRow(Format format);
// By extension, dot included, in any case; the thumbnail extensions count. Null when none.
[[nodiscard]] const FormatRow *formatOfExtension(const QString &extension);
// By a file's first bytes. Null when none matches.
[[nodiscard]] const FormatRow *formatOfSignature(const uchar *head, size_t size);
// The depth a picture is written at in `format` when `bits` (0, 1, 4, 8, 24) is
// asked, `grey` when greyscale was asked for.
[[nodiscard]] int writeDepth(Format format, int bits, bool grey);

// Reads any file of the six formats, told by its first bytes.
[[nodiscard]] int readAnyPicture(const QString &path, int bits, bool dither, QImage &out,
                                 const Progress &progress);

// Converts `source` to `target` in true colour without holding its picture:
// each row goes to the writer as it is decoded. Unsupported, with nothing
// written, where the whole picture is needed (the source is not a JPEG or is
// turned by its EXIF orientation, GIF, interlaced PNG, CCITT TIFF).
[[nodiscard]] int writeStreamed(const QString &source, const QString &target, Format format,
                                const WriteOptions &options, const Progress &progress);

// The TIFF compressions the writer offers, in the order of the program's choices.
struct TiffCompression {
    const char *option;  // the converter's name: "lzw"
    int code;            // the TIFF code
};
[[nodiscard]] std::span<const TiffCompression> tiffCompressions();

}  // namespace sky
