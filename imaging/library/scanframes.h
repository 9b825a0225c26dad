// The frames a scanner delivers, turned into one picture: a grey or RGB
// frame alone, or three frames of a three-pass scanner (red, green, blue).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace sky {

enum class FrameKind { Grey, Rgb, Red, Green, Blue };

struct ScanFrame {
    FrameKind kind = FrameKind::Grey;
    int depth = 8;          // bits per sample: 1, 8 or 16 (16 in the machine's byte order)
    int pixelsPerLine = 0;
    int bytesPerLine = 0;
    int lines = -1;         // -1 when unknown beforehand (hand scanners): the data decides
    QByteArray data;
};

// A grey frame gives a Grayscale8 picture (at depth 1, a set bit is black);
// an RGB frame or red, green and blue frames give an RGB888 picture.
// Returns Ok, BadFormat (inconsistent frames), EmptyPicture or TooLarge.
int assembleFrames(const QList<ScanFrame> &frames, QImage &out);

}  // namespace sky
