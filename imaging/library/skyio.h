// Shared plumbing of the codecs: output files that appear whole or not at all,
// progress reporting with stop, and the size cap of the readers.
#pragma once

#include "sky.h"

#include <QImage>
#include <QString>
#include <cstdio>
#include <functional>

namespace sky {

// A file written under a temporary name beside its destination; commit()
// renames it into place. Destroyed uncommitted, it is removed.
class OutputFile {
public:
    explicit OutputFile(const QString &path);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    bool isOpen() const { return file_ != nullptr; }
    FILE *handle() const { return file_; }
    QString temporaryPath() const { return temporary_; }
    bool write(const void *data, size_t size);
    // Flushes, closes and renames; returns Ok or WriteError.
    int commit();
    // Closes the stream without renaming (for codecs that reopen the path themselves).
    void closeStream();

private:
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
    bool step(qint64 done);
    bool finish();
    bool stopped() const { return stopped_; }

private:
    Progress progress_;  // a copy: callers may pass a temporary
    qint64 total_;
    int last_ = -1;
    bool stopped_ = false;
};

// Ok when a picture of that size may be allocated, else TooLarge or BadFormat.
int checkSize(qint64 width, qint64 height);

bool validDepth(int bits);

// Opens a file for reading, or returns FileNotFound / CannotOpen in `status`.
FILE *openForReading(const QString &path, int &status);

// Opens `path`, runs `read` on the stream and closes it: the status of the
// opening (FileNotFound, CannotOpen), else that of `read`.
int readFile(const QString &path, const std::function<int(FILE *)> &read);

// The frame of the codecs' read entry points: checks `bits`, decodes `path`
// with `decode` (the picture at the file's own depth), then brings the picture
// to `bits` depth, dithering reductions when `dither`.
int readPicture(const QString &path, int bits, bool dither, QImage &out,
                const std::function<int(FILE *, QImage &)> &decode);

}  // namespace sky
