// The command-line converter: options, target names, depths by format and
// resolution, and the conversion of each file.
#pragma once

#include "formats.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace sky {

// The save resolutions offered (monochrome is not).
enum class Resolution { Auto, Vga, Colour16, Colour256, True, JpegGray };

struct ConvertOptions {
    Format format = Format::Jpeg;
    Resolution resolution = Resolution::Auto;
    int quality = 100;
    int smoothing = 0;
    bool interlaced = false;
    int tiffCompression = 1;  // TIFF code: 1 none, 2 CCITT, 5 LZW, 32773 PackBits
};

// The depth a resolution gives a format's writer on a display of `displayBits`.
[[nodiscard]] int saveDepth(Resolution resolution, Format format, int displayBits = 24);

// The converted file's name: the source's name before its first dot, upper
// case, cut to 13 characters, with the format's extension (".JPG", ...).
QString targetName(const QString &source, Format format);

// Where `source` is converted to in `folder`.
QString targetPath(const QString &source, const QString &folder, Format format);

// Converts one file into `folder`; the written path goes to `written`.
[[nodiscard]] int convertFile(const QString &source, const QString &folder, const ConvertOptions &options,
                QString *written = nullptr);

// "NAME: TYPE WIDTHxHEIGHT, BITS bits, DENSITY dpi, COLOURS colours, COMPRESSION"
QString infoLine(const QString &name, const FileInfo &info);

// The whole command: arguments without the program name; returns the exit
// status (0 all converted, 1 some file failed, 2 usage error). A file that
// would be written over one this run wrote is reported and skipped.
int runConvert(const QStringList &arguments, QTextStream &out, QTextStream &err);

}  // namespace sky
