// GIF files through giflib: the first picture of a file read row by row
// (interlaced or not, with its local or the global colour map), pictures of at
// most 8 bits written as GIF87a, header information.
#include "codecs.h"

#include <gif_lib.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>
#include <vector>

namespace sky {
namespace {

struct Stream {
    FILE *file = nullptr;
    bool atEnd = false;
};

int readBytes(GifFileType *gif, GifByteType *data, int size)
{
    auto *stream = static_cast<Stream *>(gif->UserData);
    const size_t n = std::fread(data, 1, size_t(size), stream->file);
    if (n < size_t(size))
        stream->atEnd = std::feof(stream->file) != 0;
    return int(n);
}

int writeBytes(GifFileType *gif, const GifByteType *data, int size)
{
    auto *file = static_cast<OutputFile *>(gif->UserData);
    return file->write(data, size_t(size)) ? size : 0;
}

// giflib's writer, closed (trailer written, memory freed) however the scope ends.
struct Encoder {
    GifFileType *gif = nullptr;
    int error = 0;
    explicit Encoder(OutputFile &file) : gif(EGifOpen(&file, writeBytes, &error)) {}
    ~Encoder() { close(); }
    Encoder(const Encoder &) = delete;
    Encoder &operator=(const Encoder &) = delete;
    // False when the trailer could not be written.
    bool close()
    {
        GifFileType *open = std::exchange(gif, nullptr);
        return !open || EGifCloseFile(open, &error) != GIF_ERROR;
    }
};

struct Decoder {
    Stream stream;
    GifFileType *gif = nullptr;
    int error = 0;
    ~Decoder()
    {
        if (gif)
            DGifCloseFile(gif, &error);
    }
};

int statusOf(const Decoder &d)
{
    const int error = d.gif ? d.gif->Error : d.error;
    if (error == D_GIF_ERR_NOT_ENOUGH_MEM)
        return OutOfMemory;
    // The picture's data ending (its blocks or its code stream) before its last row.
    if (d.stream.atEnd || error == D_GIF_ERR_EOF_TOO_SOON || error == D_GIF_ERR_IMAGE_DEFECT)
        return Truncated;
    return BadFormat;
}

// Opens the file and checks its stamp and its logical screen: one without
// width or height holds no picture, whatever its pictures claim.
int open(Decoder &d)
{
    // giflib takes any "GIF" stamp; the files of the format, as fileInfo()
    // recognises them, begin "GIF87a" or "GIF89a".
    char stamp[4] = {};
    if (std::fread(stamp, 1, sizeof stamp, d.stream.file) != sizeof stamp || std::memcmp(stamp, "GIF8", 4) != 0)
        return BadFormat;
    std::rewind(d.stream.file);
    d.gif = DGifOpen(&d.stream, readBytes, &d.error);
    if (!d.gif)
        return statusOf(d);
    return d.gif->SWidth > 0 && d.gif->SHeight > 0 ? Ok : int(BadFormat);
}

// Reads records up to the first picture's descriptor (and its colour map).
int findPicture(Decoder &d)
{
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(d.gif, &record) == GIF_ERROR)
            return statusOf(d);
        if (record == IMAGE_DESC_RECORD_TYPE)
            return DGifGetImageDesc(d.gif) == GIF_ERROR ? statusOf(d) : Ok;
        if (record == TERMINATE_RECORD_TYPE)
            return EmptyPicture;
        if (record != EXTENSION_RECORD_TYPE)
            return BadFormat;
        int code = 0;
        GifByteType *block = nullptr;
        if (DGifGetExtension(d.gif, &code, &block) == GIF_ERROR)
            return statusOf(d);
        while (block)
            if (DGifGetExtensionNext(d.gif, &block) == GIF_ERROR)
                return statusOf(d);
    }
}

// The picture on its logical screen, grown when the picture overflows it.
QSize screenSize(const GifFileType *gif)
{
    const GifImageDesc &desc = gif->Image;
    const qint64 width = std::max<qint64>(gif->SWidth, qint64(desc.Left) + desc.Width);
    const qint64 height = std::max<qint64>(gif->SHeight, qint64(desc.Top) + desc.Height);
    return {int(std::min<qint64>(width, INT_MAX)), int(std::min<qint64>(height, INT_MAX))};
}

const ColorMapObject *colourMap(const GifFileType *gif)
{
    return gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap;
}

// The picture's colours; indices beyond the map show black. A file without
// any map gets grey levels.
QList<QRgb> coloursOf(const GifFileType *gif)
{
    QList<QRgb> colours(256, qRgb(0, 0, 0));
    if (const ColorMapObject *map = colourMap(gif)) {
        for (int i = 0; i < std::min(map->ColorCount, 256); ++i)
            colours[i] = qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
    } else {
        colours = greyPalette();
    }
    return colours;
}

// Around the picture the screen shows its background colour, an entry of the
// global map: when the picture has its own map, that colour takes the first
// free entry of the picture's palette.
uint backgroundIndex(const GifFileType *gif, QList<QRgb> &colours)
{
    const ColorMapObject *global = gif->SColorMap;
    if (!global || gif->SBackGroundColor >= global->ColorCount)
        return 0;
    const ColorMapObject *local = gif->Image.ColorMap;
    if (!local)
        return uint(gif->SBackGroundColor);
    if (local->ColorCount >= 256)
        return 0;
    const GifColorType c = global->Colors[gif->SBackGroundColor];
    colours[local->ColorCount] = qRgb(c.Red, c.Green, c.Blue);
    return uint(local->ColorCount);
}

int decode(Decoder &d, QImage &image, const Progress &progress)
{
    const GifImageDesc &desc = d.gif->Image;
    if (desc.Width <= 0 || desc.Height <= 0 || desc.Left < 0 || desc.Top < 0)
        return BadFormat;
    const QSize size = screenSize(d.gif);
    if (const int status = checkDecodedSize(size.width(), size.height()); status != Ok)
        return status;
    image = QImage(size, QImage::Format_Indexed8);
    if (image.isNull())
        return OutOfMemory;
    setDensity(image, 0, 0);
    QList<QRgb> colours = coloursOf(d.gif);
    image.fill(backgroundIndex(d.gif, colours));
    image.setColorTable(colours);
    // Interlaced pictures come in four passes: every 8th row from 0, every 8th
    // from 4, every 4th from 2, every 2nd from 1.
    static const int firstRow[] = {0, 4, 2, 1}, rowStep[] = {8, 8, 4, 2};
    const int passes = desc.Interlace ? 4 : 1;
    ProgressTracker tracker(progress, desc.Height);
    int done = 0;
    for (int pass = 0; pass < passes; ++pass)
        for (int y = desc.Interlace ? firstRow[pass] : 0; y < desc.Height;
             y += desc.Interlace ? rowStep[pass] : 1) {
            if (DGifGetLine(d.gif, image.scanLine(desc.Top + y) + desc.Left, desc.Width) ==
                GIF_ERROR)
                return statusOf(d);
            if (!tracker.step(++done))
                return Stopped;
        }
    return Ok;
}

struct ColourMap {
    ColorMapObject *map = nullptr;
    ~ColourMap() { GifFreeMapObject(map); }
};

int encode(GifFileType *gif, const QImage &picture, int bits, ProgressTracker &tracker)
{
    const int size = 1 << bits;
    std::vector<GifColorType> entries(size_t(size), GifColorType{0, 0, 0});
    const QList<QRgb> table = picture.colorTable();
    for (int i = 0; i < std::min(int(table.size()), size); ++i)
        entries[size_t(i)] = {GifByteType(qRed(table[i])), GifByteType(qGreen(table[i])),
                              GifByteType(qBlue(table[i]))};
    const ColourMap map{GifMakeMapObject(size, entries.data())};
    if (!map.map)
        return OutOfMemory;
    const int w = picture.width(), h = picture.height();
    if (EGifPutScreenDesc(gif, w, h, bits, 0, map.map) == GIF_ERROR ||
        EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_ERROR)
        return WriteError;
    std::vector<GifPixelType> row(static_cast<size_t>(w));
    for (int y = 0; y < h; ++y) {
        packIndices(picture, y, 8, row.data());
        if (EGifPutLine(gif, row.data(), w) == GIF_ERROR)
            return gif->Error == E_GIF_ERR_NOT_ENOUGH_MEM ? OutOfMemory : WriteError;
        if (!tracker.step(y))
            return Stopped;
    }
    return tracker.finish() ? Ok : Stopped;
}

}  // namespace

int readGif(const QString &path, int bits, bool dither, QImage &out, const Progress &progress)
{
    return readPicture(path, bits, dither, out, [&](FILE *file, QImage &decoded) {
        Decoder d;
        d.stream.file = file;
        int status = open(d);
        if (status == Ok)
            status = findPicture(d);
        return status == Ok ? decode(d, decoded, progress) : status;
    });
}

int writeGif(const QString &path, int bits, const QImage &image, const Progress &progress)
{
    if (image.width() > 65535 || image.height() > 65535)
        return TooLarge;
    // GIF holds palettes only: true colour is written with 256 colours.
    const int depth = bits == 24 ? 8 : bits;
    return writePicture(path, bits, image, progress, {depth},
                        [depth](const QImage &picture, OutputFile &file, ProgressTracker &tracker) {
                            Encoder e(file);
                            if (!e.gif)
                                return int(e.error == E_GIF_ERR_NOT_ENOUGH_MEM ? OutOfMemory : WriteError);
                            const int status = encode(e.gif, picture, depth == 0 ? 4 : depth, tracker);
                            return e.close() || status != Ok ? status : int(WriteError);
                        });
}

int gifInfo(const QString &path, FileInfo &info)
{
    return readFile(path, [&](FILE *file) {
        Decoder d;
        d.stream.file = file;
        // The size reading gives (the first picture on its screen); the
        // colours of the global map, else of the first picture's own.
        int status = open(d);
        if (status == Ok)
            status = findPicture(d);
        if (status != Ok)
            return status;
        const ColorMapObject *map = d.gif->SColorMap ? d.gif->SColorMap : d.gif->Image.ColorMap;
        const QSize size = screenSize(d.gif);
        info.type = QStringLiteral("GIF");
        info.width = size.width();
        info.height = size.height();
        info.bitsPerPixel = map ? map->BitsPerPixel : d.gif->SColorResolution;
        info.colors = map ? map->ColorCount : 1 << d.gif->SColorResolution;
        info.density = 0;
        info.compression = QStringLiteral("LZW");
        return status;
    });
}

}  // namespace sky
