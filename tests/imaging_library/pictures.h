// Pictures and checks shared by the codec and colour depth tests.
#pragma once

#include <QDir>
#include <QImage>
#include <QStringList>
#include <cmath>
#include <gtest/gtest.h>

// Smooth colour gradients with fine grain, as in a photograph.
inline QImage photoPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    quint32 seed = 12345;
    for (int y = 0; y < height; ++y) {
        uchar *line = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int grain = int(seed >> 28) - 8;
            line[3 * x] = uchar(std::clamp(x * 255 / width + grain, 0, 255));
            line[3 * x + 1] = uchar(std::clamp(y * 255 / height + grain, 0, 255));
            line[3 * x + 2] = uchar(std::clamp(128 + int(100 * std::sin(x * 0.05 + y * 0.03)) + grain, 0, 255));
        }
    }
    return image;
}

// An indexed picture using exactly `colours` distinct colours.
inline QImage indexedPicture(int width, int height, int colours)
{
    QImage image(width, height, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < colours; ++i)
        table.append(qRgb(i * 37 % 256, (255 - i * 5) & 255, i * 11 % 256));
    image.setColorTable(table);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, uint((x / 3 + y * 5) % colours));
    return image;
}

// Peak signal-to-noise ratio of `b` against `a`, in decibels (100 when equal).
inline double psnr(const QImage &a, const QImage &b)
{
    const QImage p = a.convertToFormat(QImage::Format_RGB888);
    const QImage q = b.convertToFormat(QImage::Format_RGB888);
    double sum = 0;
    for (int y = 0; y < p.height(); ++y)
        for (int i = 0; i < p.width() * 3; ++i) {
            const double d = p.constScanLine(y)[i] - q.constScanLine(y)[i];
            sum += d * d;
        }
    const double mse = sum / (double(p.width()) * p.height() * 3);
    return mse == 0 ? 100 : 10 * std::log10(255.0 * 255.0 / mse);
}

// True when both pictures show the same colour at every pixel.
inline bool sameColours(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xffffff) != (b.pixel(x, y) & 0xffffff))
                return false;
    return true;
}

// Everything in a folder, hidden files included (a left-over temporary file shows).
inline QStringList folderContents(const QString &path)
{
    return QDir(path).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

inline void expectSamePixels(const QImage &expected, const QImage &actual)
{
    ASSERT_EQ(expected.size(), actual.size());
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            ASSERT_EQ(expected.pixel(x, y), actual.pixel(x, y)) << x << "," << y;
}
