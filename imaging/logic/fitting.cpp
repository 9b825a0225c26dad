#include "fitting.h"

#include <cmath>

int RoundHalfEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        rounded = below + 1.0;
    return int(rounded);
}

QRect RatioRect(QSize client, QSize picture)
{
    const int cw = client.width(), ch = client.height();
    const int pw = picture.width(), ph = picture.height();
    if (pw <= 0 || ph <= 0)
        return QRect(QPoint(0, 0), client);
    if (ph >= pw) {
        const double scale = double(ch) / ph;
        const double width = scale * pw;
        return QRect(RoundHalfEven((cw - width) / 2), 0, RoundHalfEven(width), ch);
    }
    const double scale = double(cw) / pw;
    const double height = scale * ph;
    return QRect(0, RoundHalfEven((ch - height) / 2), cw, RoundHalfEven(height));
}

namespace {

// Integer division truncates toward zero: a picture larger than its room gets a
// negative offset and is cut evenly on both sides.
QRect Centred(QSize room, QSize picture)
{
    return QRect(QPoint((room.width() - picture.width()) / 2, (room.height() - picture.height()) / 2),
                 picture);
}

QImage BlackOnWhite(const QImage &source, QSize size)
{
    const QImage rgb = source.convertToFormat(QImage::Format_RGB32);
    QImage out(size, QImage::Format_RGB32);
    const qint64 sw = rgb.width(), sh = rgb.height();
    const qint64 dw = size.width(), dh = size.height();
    for (qint64 y = 0; y < dh; ++y) {
        const qint64 y0 = y * sh / dh;
        const qint64 y1 = std::max(y0 + 1, (y + 1) * sh / dh);
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(int(y)));
        for (qint64 x = 0; x < dw; ++x) {
            const qint64 x0 = x * sw / dw;
            const qint64 x1 = std::max(x0 + 1, (x + 1) * sw / dw);
            QRgb pixel = 0xFFFFFFFFu;
            for (qint64 sy = y0; sy < y1; ++sy) {
                const auto *source_line = reinterpret_cast<const QRgb *>(rgb.constScanLine(int(sy)));
                for (qint64 sx = x0; sx < x1; ++sx)
                    pixel &= source_line[sx];
            }
            line[x] = pixel;
        }
    }
    return out;
}

}  // namespace

QRect LibraryDestination(QSize client, QSize picture, const FitOptions &options)
{
    if (options.stretchRatio)
        return RatioRect(client, picture);
    if (options.stretch)
        return QRect(QPoint(0, 0), client);
    if (options.center)
        return Centred(client, picture);
    return QRect(QPoint(0, 0), picture);
}

QRect PlainDestination(QSize client, QSize control, QSize picture, const FitOptions &options)
{
    if (options.stretch)
        return QRect(QPoint(0, 0), client);
    if (options.center)
        return Centred(control, picture);
    return QRect(QPoint(0, 0), picture);
}

QImage StretchImage(const QImage &source, QSize size, StretchMode mode)
{
    if (source.isNull() || size.isEmpty())
        return {};
    const QImage scaled = mode == StretchMode::BlackOnWhite
                              ? BlackOnWhite(source, size)
                              : source.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return scaled.convertToFormat(scaled.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                           : QImage::Format_RGB32);
}

const QImage &ScaledPictureCache::prepared(const QImage &picture, QSize size, StretchMode mode)
{
    // At its own size a picture is drawn as it is: a copy would only double the memory.
    if (size == picture.size())
        return picture;
    if (prepared_.isNull() || key_ != picture.cacheKey() || size_ != size || mode_ != mode) {
        prepared_ = StretchImage(picture, size, mode);
        key_ = picture.cacheKey();
        size_ = size;
        mode_ = mode;
        ++preparations_;
    }
    return prepared_;
}

void ScaledPictureCache::clear()
{
    prepared_ = QImage();
    key_ = 0;
}
