#include "bytes.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace sky {

namespace {
constexpr size_t kReadBuffer = 256 * 1024;
}

ByteReader::ByteReader(const uchar *data, qint64 size)
    : begin_(data), cur_(data), end_(data + std::max<qint64>(size, 0)), size_(std::max<qint64>(size, 0))
{
}

ByteReader::ByteReader(FILE *file) : file_(file), buffer_(kReadBuffer)
{
    begin_ = cur_ = end_ = buffer_.data();
    if (fseeko(file, 0, SEEK_END) == 0)
        size_ = std::max<qint64>(ftello(file), 0);
    ioError_ = fseeko(file, 0, SEEK_SET) != 0;
}

void ByteReader::limit(qint64 end)
{
    size_ = std::clamp<qint64>(end, pos(), size_);
    if (base_ + (end_ - begin_) > size_)
        end_ = begin_ + (size_ - base_);
}

bool ByteReader::seek(qint64 position)
{
    if (position < 0 || position > size_)
        return false;
    if (position >= base_ && position <= base_ + (end_ - begin_)) {
        cur_ = begin_ + (position - base_);
        return true;
    }
    // Only a file can have a position outside the window.
    if (fseeko(file_, position, SEEK_SET) != 0) {
        ioError_ = true;
        return false;
    }
    base_ = position;
    begin_ = cur_ = end_ = buffer_.data();
    return true;
}

bool ByteReader::refill()
{
    if (!file_)
        return false;
    base_ = pos();
    begin_ = cur_ = end_ = buffer_.data();
    const qint64 wanted = std::min<qint64>(qint64(buffer_.size()), remaining());
    if (wanted <= 0)
        return false;
    const size_t got = std::fread(buffer_.data(), 1, size_t(wanted), file_);
    end_ = begin_ + got;
    if (got == 0)
        ioError_ = std::ferror(file_) != 0;
    return got > 0;
}

bool ByteReader::read(void *destination, qint64 count)
{
    if (count < 0 || count > remaining())
        return false;
    auto *out = static_cast<uchar *>(destination);
    while (count > 0) {
        if (cur_ == end_) {
            if (file_ && count >= qint64(buffer_.size())) {
                // Large reads go straight to their destination.
                base_ = pos();
                begin_ = cur_ = end_ = buffer_.data();
                const size_t got = std::fread(out, 1, size_t(count), file_);
                base_ += qint64(got);
                if (qint64(got) != count) {
                    ioError_ = std::ferror(file_) != 0;
                    return false;
                }
                return true;
            }
            if (!refill())
                return false;
        }
        const qint64 n = std::min<qint64>(count, end_ - cur_);
        std::memcpy(out, cur_, size_t(n));
        cur_ += n;
        out += n;
        count -= n;
    }
    return true;
}


int dpiFromPpm(qint64 ppm) { return ppm > 0 ? int(std::min<qint64>(std::llround(ppm * 0.0254), 1 << 30)) : 0; }

int ppmFromDpi(int dpi) { return dpi > 0 ? int(std::lround(dpi / 0.0254)) : 0; }

QVector<QRgb> paletteOf(const QImage &picture)
{
    QVector<QRgb> palette = picture.colorTable();
    const bool oneBit = picture.format() == QImage::Format_Mono || picture.format() == QImage::Format_MonoLSB;
    if (oneBit && palette.size() < 2)
        palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    return palette;
}

void unpackIndices(const uchar *packed, int width, int bits, uchar *indices)
{
    if (bits == 8) {
        std::memcpy(indices, packed, size_t(width));
        return;
    }
    const int perByte = 8 / bits;
    const int mask = (1 << bits) - 1;
    for (int x = 0; x < width; ++x) {
        const int slot = x % perByte;
        indices[x] = uchar(packed[x / perByte] >> (8 - bits * (slot + 1)) & mask);
    }
}

}  // namespace sky
