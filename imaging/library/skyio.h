// Shared plumbing of the codecs: output files that appear whole or not at all,
// progress reporting with stop, and the size cap of the readers.
#pragma once

#include "sky.h"

#include <QImage>
#include <QString>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace sky {

struct CloseFile {
    void operator()(FILE *file) const { std::fclose(file); }
};
// An open stream, closed however the scope that owns it ends.
using FilePtr = std::unique_ptr<FILE, CloseFile>;

// Records the file and the system's reason (errno) of the failure being reported.
void noteFailure(const QString &path, int error);

// A file written under a temporary name beside its destination; commit()
// renames it into place. Destroyed uncommitted, the temporary file it created
// is removed (and nothing else).
class OutputFile {
public:
    explicit OutputFile(const QString &path);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    bool isOpen() const { return file_ != nullptr; }
    FILE *handle() const { return file_; }
    // Empty when no temporary file could be created.
    QString temporaryPath() const { return temporary_; }
    [[nodiscard]] bool write(const void *data, size_t size);
    // Flushes, closes and renames; returns Ok, WriteError or CannotCreate.
    [[nodiscard]] int commit();

private:
    void closeStream();

    QString path_;
    QString temporary_;
    FILE *file_ = nullptr;
    bool committed_ = false;
};

// Calls the progress function whenever the percentage changes; remembers a stop.
class ProgressTracker {
public:
    ProgressTracker(const Progress &progress, qint64 total);
    // Reports `done` of `total`; false when the caller asked to stop.
    [[nodiscard]] bool step(qint64 done);
    [[nodiscard]] bool finish();
    bool stopped() const { return stopped_; }

private:
    Progress progress_;  // a copy: callers may pass a temporary
    qint64 total_;
    int last_ = -1;
    bool stopped_ = false;
};

// Ok when a picture of that size may be allocated, else TooLarge or BadFormat.
[[nodiscard]] int checkSize(qint64 width, qint64 height);
// The same for a picture a reader is about to decode, held to the budget of a
// reading as well (kMaxDecodedBytes): checked before anything is decoded.
[[nodiscard]] int checkDecodedSize(qint64 width, qint64 height);

[[nodiscard]] bool validDepth(int bits);

// Opens a file for reading, or returns FileNotFound / CannotOpen in `status`.
[[nodiscard]] FilePtr openForReading(const QString &path, int &status);

// Opens `path`, runs `read` on the stream and closes it: the status of the
// opening (FileNotFound, CannotOpen), else that of `read`.
[[nodiscard]] int readFile(const QString &path, const std::function<int(FILE *)> &read);

// The one frame of the readers: checks `bits`, decodes `path` with `decode`
// (the picture at the file's own depth, its density set), closes it, then
// brings the picture to `bits` depth, dithering reductions when `dither`.
[[nodiscard]] int readPicture(const QString &path, int bits, bool dither, QImage &out,
                              const std::function<int(FILE *, QImage &)> &decode);

// How a writer wants its picture: brought to `depth` (0, 1, 4, 8; 24 leaves
// the caller's picture as it is, the codecs read it row by row), and
// `progressSteps` for the tracker (0: one step a row).
struct WritePlan {
    int depth = 24;
    qint64 progressSteps = 0;
};
using Encode = std::function<int(const QImage &picture, OutputFile &file, ProgressTracker &progress)>;

// The one frame of the writers: checks `bits` and the picture, prepares the
// picture as `plan` says, encodes it into a temporary file beside `path` and
// renames that into place only once the whole file is written.
[[nodiscard]] int writePicture(const QString &path, int bits, const QImage &image,
                               const Progress &progress, const WritePlan &plan, const Encode &encode);

// Memory for a large buffer (a picture, a JPEG file's coefficients): mapped
// afresh, 2 MB-aligned and marked for huge pages, so that touching it costs a
// fault every 2 MB rather than every 4 kB. Zero-filled; null when it cannot be had.
class LargeMemory {
public:
    LargeMemory() = default;
    explicit LargeMemory(size_t size);
    ~LargeMemory();
    LargeMemory(LargeMemory &&other) noexcept;
    LargeMemory &operator=(LargeMemory &&other) noexcept;
    LargeMemory(const LargeMemory &) = delete;
    LargeMemory &operator=(const LargeMemory &) = delete;

    uchar *data() const { return data_; }
    size_t size() const { return size_; }
    // Gives the memory up to the caller, who frees it with release(data, size).
    uchar *take();
    static void release(uchar *data, size_t size);

private:
    uchar *data_ = nullptr;
    size_t size_ = 0;
};

// A new picture of the library's stride (rows padded to 4 bytes), its rows
// uninitialised; a large one lives in LargeMemory. Null when out of memory.
[[nodiscard]] QImage newPicture(int width, int height, QImage::Format format);
// The same, grey: Indexed8 with greyPalette().
[[nodiscard]] QImage newGreyPicture(int width, int height);
// The 256 greys, black first.
QList<QRgb> greyPalette();

// The rows of a true-colour picture as the writers read them (RGB888). A
// picture being decoded gives each row once, top to bottom, apart from its
// first keepFirst() rows, which may be read again; a whole picture (RgbRows)
// gives any row at any time.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    // Dots per metre; 0 when the picture has none.
    virtual int densityX() const = 0;
    virtual int densityY() const = 0;
    // Row y: a pointer into the source or into `scratch` (width * 3 bytes);
    // null once the source failed, status() then saying why.
    [[nodiscard]] virtual const uchar *row(int y, uchar *scratch) = 0;
    // Asks, before any row is read, that the first `count` rows be kept.
    virtual void keepFirst(int /*count*/) {}
    [[nodiscard]] virtual int status() const { return Ok; }
};

// A picture being decoded, given to the writers as RowSource says: each row
// once, top to bottom, but for its first keepFirst() rows, decoded with those
// before them when first asked and kept to be read again. A decoder fills it
// by decoding its next row (readNext).
class SequentialRows : public RowSource {
public:
    void keepFirst(int count) override;
    [[nodiscard]] const uchar *row(int y, uchar *scratch) override;
    [[nodiscard]] int status() const override { return status_; }

protected:
    // Decodes row y, the one after the last decoded, into `line` (width * 3
    // bytes): Ok, else the reason it cannot.
    [[nodiscard]] virtual int readNext(int y, uchar *line) = 0;

private:
    std::vector<uchar> first_;  // the rows kept
    int kept_ = 0;
    int next_ = 0;
    int status_ = Ok;
};

// Rows `first`, `first + step`, ... below `end`: a sample spread over the first
// two megabytes or so of a picture, which a writer reads before writing anything
// to choose how to code the rest; `rows` is asked to keep them.
struct RowSample {
    int first = 0;
    int step = 1;
    int end = 1;
};
RowSample sampleFirstRows(RowSource &rows, qint64 rowBytes);

using EncodeRows = std::function<int(RowSource &rows, OutputFile &file, ProgressTracker &progress)>;

// The frame of the writers for rows read as they are decoded: encodes them
// into a temporary file beside `path`, renamed into place only once the whole
// file is written and the source gave every row without fault.
[[nodiscard]] int writeRows(const QString &path, RowSource &rows, const Progress &progress, qint64 progressSteps,
                            const EncodeRows &encode);

// QImage cannot hold "no density" (it ignores 0 and starts every picture at
// the screen's): the readers give a picture without one this many dots per metre.
constexpr int kNoDensity = 1;
// Sets the density read from a file, in dots per metre; 0 or less: none.
void setDensity(QImage &image, qint64 ppmX, qint64 ppmY);
// The density a picture read with `ppm` dots per metre gives its writers
// (densityX below): what setDensity keeps of it, 0 for none.
int densityAsRead(qint64 ppm);
// The density to write, in dots per metre; 0 when the picture has none.
int densityX(const QImage &image);
int densityY(const QImage &image);

}  // namespace sky
