#include "skyio.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>

namespace sky {

OutputFile::OutputFile(const QString &path) : path_(path)
{
    const QFileInfo info(path);
    for (int attempt = 0; attempt < 8 && !file_; ++attempt) {
        temporary_ = info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                     QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16,
                                                   QLatin1Char('0'));
        // "x": never reuse a file that already exists under the temporary name.
        file_ = std::fopen(QFile::encodeName(temporary_).constData(), "wbx");
    }
}

OutputFile::~OutputFile()
{
    closeStream();
    if (!committed_ && !temporary_.isEmpty())
        QFile::remove(temporary_);
}

bool OutputFile::write(const void *data, size_t size)
{
    return file_ && (size == 0 || std::fwrite(data, 1, size, file_) == size);
}

void OutputFile::closeStream()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

int OutputFile::commit()
{
    if (file_) {
        const bool flushed = std::fflush(file_) == 0 && !std::ferror(file_);
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        if (!flushed || !closed)
            return WriteError;
    }
    if (std::rename(QFile::encodeName(temporary_).constData(),
                    QFile::encodeName(path_).constData()) != 0)
        return CannotCreate;
    committed_ = true;
    return Ok;
}

ProgressTracker::ProgressTracker(const Progress &progress, qint64 total)
    : progress_(progress), total_(total > 0 ? total : 1)
{
}

bool ProgressTracker::step(qint64 done)
{
    if (stopped_)
        return false;
    const int percent = int(std::clamp<qint64>(done * 100 / total_, 0, 100));
    if (percent == last_ || !progress_)
        return true;
    last_ = percent;
    stopped_ = progress_(percent) == 0;
    return !stopped_;
}

bool ProgressTracker::finish() { return step(total_); }

int checkSize(qint64 width, qint64 height)
{
    if (width <= 0 || height <= 0)
        return BadFormat;
    if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
        return TooLarge;
    return Ok;
}

bool validDepth(int bits) { return bits == 0 || bits == 1 || bits == 4 || bits == 8 || bits == 24; }

FILE *openForReading(const QString &path, int &status)
{
    if (!QFileInfo(path).isFile()) {
        status = FileNotFound;
        return nullptr;
    }
    FILE *f = std::fopen(QFile::encodeName(path).constData(), "rb");
    status = f ? Ok : CannotOpen;
    return f;
}

int readFile(const QString &path, const std::function<int(FILE *)> &read)
{
    int status = Ok;
    FILE *file = openForReading(path, status);
    if (!file)
        return status;
    status = read(file);
    std::fclose(file);
    return status;
}

int readPicture(const QString &path, int bits, bool dither, QImage &out,
                const std::function<int(FILE *, QImage &)> &decode)
{
    if (!validDepth(bits))
        return BadDepth;
    QImage decoded;
    const int status = readFile(path, [&](FILE *file) { return decode(file, decoded); });
    return status == Ok ? toDepth(decoded, bits, dither, out) : status;
}

}  // namespace sky
