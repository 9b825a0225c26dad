#include "scanframes.h"

#include "skyio.h"

#include <algorithm>
#include <cstring>

namespace sky {

namespace {

int samplesPerPixel(FrameKind kind) { return kind == FrameKind::Rgb ? 3 : 1; }

bool consistent(const ScanFrame &frame)
{
    if (frame.depth != 1 && frame.depth != 8 && frame.depth != 16)
        return false;
    if (frame.pixelsPerLine <= 0 || frame.bytesPerLine <= 0 || frame.pixelsPerLine > kMaxSide)
        return false;
    const qint64 bits = qint64(frame.pixelsPerLine) * samplesPerPixel(frame.kind) * frame.depth;
    return frame.bytesPerLine >= (bits + 7) / 8;
}

qint64 rowsOf(const ScanFrame &frame)
{
    const qint64 available = frame.data.size() / frame.bytesPerLine;
    return frame.lines >= 0 ? std::min<qint64>(frame.lines, available) : available;
}

// Sample `index` of a line, brought to 0..255.
int sampleAt(const uchar *line, qint64 index, int depth)
{
    switch (depth) {
    case 1:
        return (line[index >> 3] >> (7 - (index & 7))) & 1 ? 255 : 0;
    case 8:
        return line[index];
    default: {
        quint16 value;
        std::memcpy(&value, line + index * 2, sizeof value);
        return value >> 8;
    }
    }
}

// Copies a grey or RGB frame, whose samples lie in the picture's own order.
void copyWhole(const ScanFrame &frame, QImage &image)
{
    const int samples = image.width() * samplesPerPixel(frame.kind);
    for (int y = 0; y < image.height(); ++y) {
        const uchar *line = reinterpret_cast<const uchar *>(frame.data.constData()) +
                            qint64(y) * frame.bytesPerLine;
        uchar *target = image.scanLine(y);
        if (frame.depth == 8) {
            std::memcpy(target, line, samples);
            continue;
        }
        for (int i = 0; i < samples; ++i)
            target[i] = uchar(sampleAt(line, i, frame.depth));
        if (frame.kind == FrameKind::Grey && frame.depth == 1)
            for (int i = 0; i < samples; ++i)
                target[i] = uchar(255 - target[i]);  // line art: a set bit is black
    }
}

// Copies one colour frame of a three-pass scan into its channel.
void copyChannel(const ScanFrame &frame, int channel, QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        const uchar *line = reinterpret_cast<const uchar *>(frame.data.constData()) +
                            qint64(y) * frame.bytesPerLine;
        uchar *target = image.scanLine(y) + channel;
        for (int x = 0; x < image.width(); ++x)
            target[x * 3] = uchar(sampleAt(line, x, frame.depth));
    }
}

int channelOf(FrameKind kind)
{
    switch (kind) {
    case FrameKind::Red: return 0;
    case FrameKind::Green: return 1;
    case FrameKind::Blue: return 2;
    default: return -1;
    }
}

}  // namespace

int assembleFrames(const QList<ScanFrame> &frames, QImage &out)
{
    if (frames.isEmpty())
        return EmptyPicture;
    const ScanFrame &first = frames.first();
    const bool whole = first.kind == FrameKind::Grey || first.kind == FrameKind::Rgb;
    const QList<ScanFrame> used = whole ? frames.first(1) : frames;

    qint64 rows = rowsOf(first);
    for (const ScanFrame &frame : used) {
        if (!consistent(frame) || frame.pixelsPerLine != first.pixelsPerLine)
            return BadFormat;
        if (!whole && channelOf(frame.kind) < 0)
            return BadFormat;
        rows = std::min(rows, rowsOf(frame));
    }
    if (rows == 0)
        return EmptyPicture;
    const int status = checkSize(first.pixelsPerLine, rows);
    if (status != Ok)
        return status;

    const bool grey = first.kind == FrameKind::Grey;
    QImage image(first.pixelsPerLine, int(rows), grey ? QImage::Format_Grayscale8
                                                      : QImage::Format_RGB888);
    if (image.isNull())
        return OutOfMemory;
    if (whole) {
        copyWhole(first, image);
    } else {
        image.fill(Qt::black);  // a channel the scanner did not send stays dark
        for (const ScanFrame &frame : used)
            copyChannel(frame, channelOf(frame.kind), image);
    }
    out = image;
    return Ok;
}

}  // namespace sky
