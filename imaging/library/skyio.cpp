#include "skyio.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>
#include <sys/mman.h>

namespace sky {

namespace {
thread_local Failure failure;

QByteArray encoded(const QString &path) { return QFile::encodeName(path); }
}  // namespace

void noteFailure(const QString &path, int error) { failure = {path, error}; }

Failure lastFailure() { return failure; }

OutputFile::OutputFile(const QString &path) : path_(path)
{
    const QFileInfo info(path);
    int error = 0;
    for (int attempt = 0; attempt < 8 && !file_; ++attempt) {
        const QString candidate = info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                                  QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(),
                                                                8, 16, QLatin1Char('0'));
        // "x": never reuse a file that already exists under the temporary name.
        file_ = std::fopen(encoded(candidate).constData(), "wbx");
        error = errno;
        if (file_)
            temporary_ = candidate;
        else if (error != EEXIST)
            break;
    }
    if (!file_)
        noteFailure(path, error);
}

OutputFile::~OutputFile()
{
    closeStream();
    if (!committed_ && !temporary_.isEmpty())
        QFile::remove(temporary_);
}

bool OutputFile::write(const void *data, size_t size)
{
    if (!file_)
        return false;
    if (size == 0 || std::fwrite(data, 1, size, file_) == size)
        return true;
    noteFailure(path_, errno);
    return false;
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
    if (!file_)
        return CannotCreate;
    errno = 0;
    const bool flushed = std::fflush(file_) == 0 && !std::ferror(file_);
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!flushed || !closed) {
        noteFailure(path_, errno);
        return WriteError;
    }
    if (std::rename(encoded(temporary_).constData(), encoded(path_).constData()) != 0) {
        noteFailure(path_, errno);
        return CannotCreate;
    }
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

int checkDecodedSize(qint64 width, qint64 height)
{
    const int status = checkSize(width, height);
    return status == Ok && width * height * 3 > kMaxDecodedBytes ? int(TooLarge) : status;
}

bool validDepth(int bits) { return bits == 0 || bits == 1 || bits == 4 || bits == 8 || bits == 24; }

FilePtr openForReading(const QString &path, int &status)
{
    failure = {};
    if (!QFileInfo(path).isFile()) {
        status = FileNotFound;
        return nullptr;
    }
    FilePtr file(std::fopen(encoded(path).constData(), "rb"));
    status = file ? Ok : CannotOpen;
    if (!file)
        noteFailure(path, errno);
    return file;
}

int readFile(const QString &path, const std::function<int(FILE *)> &read)
{
    int status = Ok;
    const FilePtr file = openForReading(path, status);
    return file ? read(file.get()) : status;
}

int readPicture(const QString &path, int bits, bool dither, QImage &out,
                const std::function<int(FILE *, QImage &)> &decode)
{
    out = QImage();
    if (!validDepth(bits))
        return BadDepth;
    QImage decoded;
    const int status = readFile(path, [&](FILE *file) { return decode(file, decoded); });
    if (succeeded(status))
        return toDepth(decoded, bits, dither, out);
    // What a cut file gave is still shown, with its status.
    if (status == Truncated && !decoded.isNull() && !succeeded(toDepth(decoded, bits, dither, out)))
        out = QImage();
    return status;
}

int writePicture(const QString &path, int bits, const QImage &image, const Progress &progress,
                 const WritePlan &plan, const Encode &encode)
{
    failure = {};
    if (!validDepth(bits) || !validDepth(plan.depth))
        return BadDepth;
    if (image.isNull())
        return EmptyPicture;
    QImage picture = image;
    if (plan.depth != 24) {
        if (const int status = toDepth(image, plan.depth, true, picture); !succeeded(status))
            return status;
    }
    OutputFile file(path);
    if (!file.isOpen())
        return CannotCreate;
    ProgressTracker tracker(progress, plan.progressSteps > 0 ? plan.progressSteps : picture.height());
    const int status = encode(picture, file, tracker);
    if (!succeeded(status))
        return status;
    return tracker.finish() ? file.commit() : Stopped;
}

RowSample sampleFirstRows(RowSource &rows, qint64 rowBytes)
{
    constexpr qint64 kSampledBytes = qint64(1) << 21;
    constexpr int kSampledRows = 32;
    const int kept = int(std::clamp<qint64>(kSampledBytes / std::max<qint64>(rowBytes, 1), 1, rows.height()));
    rows.keepFirst(kept);
    const int step = std::max(1, kept / kSampledRows);
    return {std::min(kept - 1, step / 2), step, kept};
}

void SequentialRows::keepFirst(int count)
{
    if (next_ == 0)
        kept_ = std::clamp(count, 0, height());
}

const uchar *SequentialRows::row(int y, uchar *scratch)
{
    if (status_ != Ok)
        return nullptr;
    if (y < 0 || y >= height() || (y >= kept_ && y != next_)) {
        status_ = BadArgument;
        return nullptr;
    }
    const size_t stride = size_t(width()) * 3;
    try {
        if (kept_ > 0 && first_.empty())
            first_.resize(size_t(kept_) * stride);
        for (; next_ <= y && status_ == Ok; ++next_)
            status_ = readNext(next_, next_ < kept_ ? first_.data() + size_t(next_) * stride : scratch);
    } catch (const std::bad_alloc &) {
        status_ = OutOfMemory;
    }
    if (status_ != Ok)
        return nullptr;
    return y < kept_ ? first_.data() + size_t(y) * stride : scratch;
}

int writeRows(const QString &path, RowSource &rows, const Progress &progress, qint64 progressSteps,
              const EncodeRows &encode)
{
    failure = {};
    if (rows.width() <= 0 || rows.height() <= 0)
        return EmptyPicture;
    OutputFile file(path);
    if (!file.isOpen())
        return CannotCreate;
    ProgressTracker tracker(progress, progressSteps > 0 ? progressSteps : rows.height());
    const int status = encode(rows, file, tracker);
    if (!succeeded(status))
        return succeeded(rows.status()) ? status : rows.status();
    if (!succeeded(rows.status()))
        return rows.status();
    return tracker.finish() ? file.commit() : Stopped;
}

namespace {
constexpr size_t kHugePage = size_t(2) << 20;
// Below this a picture is left to the allocator: a huge page would mostly be wasted.
constexpr size_t kLargePicture = size_t(4) << 20;

// A picture over `data`, `size` bytes, that `release` gets back with its last copy.
QImage pictureOver(uchar *data, size_t size, int width, int height, qsizetype stride, QImage::Format format,
                   void (*release)(uchar *, size_t))
{
    struct Owned {
        uchar *data;
        size_t size;
        void (*release)(uchar *, size_t);
    };
    auto *owned = new Owned{data, size, release};
    QImage picture(
        data, width, height, stride, format,
        [](void *info) {
            auto *o = static_cast<Owned *>(info);
            o->release(o->data, o->size);
            delete o;
        },
        owned);
    if (picture.isNull()) {
        release(data, size);
        delete owned;
    }
    return picture;
}

// The memory of smaller pictures let go, kept for the next ones of about their
// size: fresh memory costs a page fault every 4 kB on this kind of machine, and
// the allocator gives back what a picture freed by another thread than its
// reader's leaves (a thumbnail, let go by the window that showed it).
class KeptPictures {
public:
    // Never destroyed: a picture can outlive every other static, down to the exit.
    static KeptPictures &store()
    {
        static auto *const kept = new KeptPictures;
        return *kept;
    }
    // At least `size` bytes, of a piece no more than twice as large; null when out of memory.
    std::pair<uchar *, size_t> take(size_t size)
    {
        {
            const std::lock_guard<std::mutex> locked(lock_);
            auto best = pieces_.end();
            for (auto it = pieces_.begin(); it != pieces_.end(); ++it)
                if (it->second >= size && it->second <= 2 * size &&
                    (best == pieces_.end() || it->second < best->second))
                    best = it;
            if (best != pieces_.end()) {
                const std::pair<uchar *, size_t> piece(best->first.release(), best->second);
                kept_ -= piece.second;
                pieces_.erase(best);
                return piece;
            }
        }
        return {new (std::nothrow) uchar[size], size};
    }
    void give(uchar *data, size_t size)
    {
        std::unique_ptr<uchar[]> piece(data);
        if (size > kKept)
            return;
        const std::lock_guard<std::mutex> locked(lock_);
        // The pieces let go longest ago make room: the sizes asked for lately come back.
        while (kept_ + size > kKept || pieces_.size() == kPieces) {
            kept_ -= pieces_.front().second;
            pieces_.erase(pieces_.begin());
        }
        kept_ += size;
        pieces_.emplace_back(std::move(piece), size);
    }

private:
    // A page of thumbnails and the readings under way; the rest goes back to the allocator.
    static constexpr size_t kKept = size_t(8) << 20;
    static constexpr size_t kPieces = 32;
    std::mutex lock_;
    std::vector<std::pair<std::unique_ptr<uchar[]>, size_t>> pieces_;
    size_t kept_ = 0;
};
}  // namespace

LargeMemory::LargeMemory(size_t size)
{
    if (size == 0)
        return;
    const size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
    // Mapped one huge page larger, then trimmed to a 2 MB boundary at both ends.
    void *mapped = mmap(nullptr, rounded + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return;
    const auto start = reinterpret_cast<uintptr_t>(mapped);
    const uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
    if (aligned > start)
        munmap(mapped, aligned - start);
    if (const size_t tail = kHugePage - (aligned - start); tail > 0)
        munmap(reinterpret_cast<void *>(aligned + rounded), tail);
    data_ = reinterpret_cast<uchar *>(aligned);
    size_ = rounded;
    // Only advice: without huge pages the memory works the same.
    madvise(data_, size_, MADV_HUGEPAGE);
}

LargeMemory::~LargeMemory() { release(data_, size_); }

LargeMemory::LargeMemory(LargeMemory &&other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0))
{
}

LargeMemory &LargeMemory::operator=(LargeMemory &&other) noexcept
{
    if (this != &other) {
        release(data_, size_);
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

uchar *LargeMemory::take()
{
    size_ = 0;
    return std::exchange(data_, nullptr);
}

void LargeMemory::release(uchar *data, size_t size)
{
    if (data)
        munmap(data, size);
}

QImage newPicture(int width, int height, QImage::Format format)
{
    if (width <= 0 || height <= 0)
        return {};
    const qsizetype stride = (qsizetype(width) * QImage::toPixelFormat(format).bitsPerPixel() + 31) / 32 * 4;
    const size_t bytes = size_t(stride) * size_t(height);
    if (bytes < kLargePicture) {
        const auto [data, size] = KeptPictures::store().take(bytes);
        if (!data)
            return {};
        return pictureOver(data, size, width, height, stride, format,
                           [](uchar *piece, size_t n) { KeptPictures::store().give(piece, n); });
    }
    LargeMemory memory(bytes);
    if (!memory.data())
        return {};
    const size_t size = memory.size();
    return pictureOver(memory.take(), size, width, height, stride, format, LargeMemory::release);
}

QImage newGreyPicture(int width, int height)
{
    QImage picture = newPicture(width, height, QImage::Format_Indexed8);
    if (!picture.isNull())
        picture.setColorTable(greyPalette());
    return picture;
}

QList<QRgb> greyPalette()
{
    QList<QRgb> greys(256);
    for (int i = 0; i < 256; ++i)
        greys[i] = qRgb(i, i, i);
    return greys;
}

void setDensity(QImage &image, qint64 ppmX, qint64 ppmY)
{
    image.setDotsPerMeterX(std::max(densityAsRead(ppmX), kNoDensity));
    image.setDotsPerMeterY(std::max(densityAsRead(ppmY), kNoDensity));
}

int densityAsRead(qint64 ppm) { return ppm > kNoDensity ? int(std::min<qint64>(ppm, 1 << 30)) : 0; }

int densityX(const QImage &image) { return image.dotsPerMeterX() > kNoDensity ? image.dotsPerMeterX() : 0; }

int densityY(const QImage &image) { return image.dotsPerMeterY() > kNoDensity ? image.dotsPerMeterY() : 0; }

}  // namespace sky
