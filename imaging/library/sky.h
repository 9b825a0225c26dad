// The imaging library: reads, writes and describes BMP, PCX, PNG, JPEG, GIF and
// TIFF files, mirrors and flips pictures and acquires them from a scanner.
//
// Every entry point returns a status: greater than 0 is success, 0 or less a
// failure; a negative status has a text (errorText). Pictures are QImages:
//   depth 24: QImage::Format_RGB888 (true colour, no palette);
//   depth 8:  Format_Indexed8 with a palette of at most 256 colours made for the picture;
//   depth 4:  Format_Indexed8 with a palette of at most 16 colours made for the picture;
//   depth 0:  Format_Indexed8 with the 16 standard VGA colours;
//   depth 1:  Format_Mono (black and white).
// Writers accept a picture in any QImage format and bring it to the asked depth.
//
// Long operations call the progress function with a percentage (0..100); a 0
// answer stops the operation, which then fails with sky::Stopped and leaves no
// partial file behind. Writers never leave a partial file on any failure.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>

namespace sky {

using Progress = std::function<int(int percent)>;  // may be empty

// Failure statuses. Each has a text of the library's own (errorText).
enum Status : int {
    Ok = 1,
    Failed = 0,
    FileNotFound = -1,
    CannotOpen = -2,
    CannotCreate = -3,
    ReadError = -4,
    WriteError = -5,
    BadFormat = -6,        // not a file of that format, or damaged
    Truncated = -7,        // ends before its picture does
    Unsupported = -8,      // a variant of the format this library does not handle
    TooLarge = -9,         // claims a size beyond the library's cap
    BadDepth = -10,        // a colour depth other than 0, 1, 4, 8, 24
    BadArgument = -11,
    OutOfMemory = -12,
    Stopped = -13,         // the progress function asked to stop
    EmptyPicture = -14,
    NoScanner = -20,
    ScannerBusy = -21,
    ScanFailed = -22,
    ScanCancelled = -23,
};

// The one test of a status.
[[nodiscard]] constexpr bool succeeded(int status) { return status > 0; }

// The library's text for a status ("" for a success).
[[nodiscard]] QString errorText(int status);

// The file and the system's reason (an errno value) behind the last failure of
// this thread's read, write or information call, when the file system failed it;
// empty otherwise.
struct Failure {
    QString path;
    int error = 0;
};
[[nodiscard]] Failure lastFailure();
// The status's text, followed by the file and the system's reason when the
// file system failed the call (lastFailure()).
[[nodiscard]] QString failureText(int status);

// Largest picture the readers accept: width and height each at most this,
// at most kMaxPixels pixels in all, and no more than kMaxDecodedBytes once
// decoded in true colour (3 bytes a pixel), the budget of one reading. A file
// claiming more is refused (TooLarge) before anything is decoded.
constexpr int kMaxSide = 65535;
constexpr qint64 kMaxPixels = qint64(1) << 28;
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
// Fuzzing: the same refusals, at a size where millions of inputs run in minutes.
constexpr qint64 kMaxDecodedBytes = qint64(1) << 20;
#else
constexpr qint64 kMaxDecodedBytes = qint64(256) << 20;
#endif

struct FileInfo {
    QString type;         // "BMP", "PCX", "PNG", "JPEG", "GIF", "TIFF": at most 5 characters
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int density = 0;      // dots per inch; 0 when the file has none
    int colors = 0;       // colours of the palette, or 2^bits up to 24 bits (16777216)
    QString compression;  // at most 25 characters: "None", "RLE8", "LZW", "JPEG", ...
    // JPEG: the EXIF orientation (1..8). The readers give the picture upright;
    // width and height are those stored, which 5 to 8 show swapped.
    int orientation = 1;
};

// File information from the headers alone.
[[nodiscard]] int fileInfo(const QString &path, FileInfo &info);

// Readers: `bits` 0, 1, 4, 8 or 24; `dither` for the reductions to 8, 4 and 1 bits.
// A file that ends before its picture does fails with Truncated; `out` then
// holds what was decoded when the reader got that far (the rest grey or
// background), for display only: it is never to be written as the file's picture.
[[nodiscard]] int readBmp(const QString &path, int bits, bool dither, QImage &out, const Progress &progress);
[[nodiscard]] int readPcx(const QString &path, int bits, bool dither, QImage &out, const Progress &progress);
[[nodiscard]] int readPng(const QString &path, int bits, bool dither, QImage &out, const Progress &progress);
[[nodiscard]] int readGif(const QString &path, int bits, bool dither, QImage &out, const Progress &progress);
[[nodiscard]] int readTiff(const QString &path, int bits, bool dither, QImage &out, const Progress &progress);
// `scale` 1, 2, 4 or 8: the picture is decoded at 1/scale of its size, and turned
// upright as its EXIF orientation says.
[[nodiscard]] int readJpeg(const QString &path, int bits, int scale, bool dither, QImage &out,
             const Progress &progress);

// Writers: `bits` 0, 1, 4, 8 or 24 (GIF at most 8: 24 is written as 8).
[[nodiscard]] int writeBmp(const QString &path, int bits, const QImage &image, const Progress &progress);
[[nodiscard]] int writePcx(const QString &path, int bits, const QImage &image, const Progress &progress);
[[nodiscard]] int writeGif(const QString &path, int bits, const QImage &image, const Progress &progress);
[[nodiscard]] int writePng(const QString &path, int bits, bool interlaced, const QImage &image,
             const Progress &progress);
// `bits` 1: a greyscale file; 24: a colour file. quality 1..100, smoothing 0..100.
[[nodiscard]] int writeJpeg(const QString &path, int quality, int smoothing, int bits, const QImage &image,
              const Progress &progress);
// Writes the JPEG file `source` again at `quality` (1..100), in grey when
// `grey`, from its DCT coefficients requantised without decoding its pixels:
// what writeJpeg would write, without smoothing, of the picture readJpeg
// gives. Unsupported, with nothing written, for a file it cannot so recode
// (not a JPEG, CMYK, turned by its EXIF orientation, or grey asked in colour).
[[nodiscard]] int recodeJpeg(const QString &source, const QString &target, int quality, bool grey,
                             const Progress &progress);
// compression: TIFF codes 1 none, 2 CCITT (modified Huffman, black and white), 5 LZW, 32773 PackBits.
[[nodiscard]] int writeTiff(const QString &path, int compression, int bits, const QImage &image,
              const Progress &progress);

// Mirror left-right and flip top-bottom, in place. `displayBits` is the display's depth.
[[nodiscard]] int mirror(int displayBits, QImage &image);
[[nodiscard]] int flip(int displayBits, QImage &image);

// Brings a picture to a depth (0, 1, 4, 8, 24) as described above.
[[nodiscard]] int toDepth(const QImage &source, int bits, bool dither, QImage &out);

// Scanner (SANE).
// The devices that can be chosen, as "name — vendor model".
QStringList scanSources();
// Asks `choose` (given the device list) for a source and remembers it; returns
// Ok, ScanCancelled when nothing was chosen, NoScanner when there is none.
[[nodiscard]] int selectScanSource(const std::function<int(const QStringList &)> &choose);
// The remembered source's device name, or the first device when none was chosen.
QString currentScanSource();

struct ScanSettings {
    int resolution = 100;      // dots per inch
    bool colour = true;        // false: grey
};
// Acquires one picture from the chosen (or first) device at `bits` depth.
// `showSettings`, when set, is the scanner window: it may change the settings
// and returns false to cancel.
[[nodiscard]] int acquireScan(int bits, bool dither, const std::function<bool(ScanSettings &)> &showSettings,
                QImage &out, const Progress &progress);

}  // namespace sky
