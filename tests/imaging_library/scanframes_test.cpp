// Scanner frames to pictures: grey, line art, RGB, 16-bit samples and three-pass scans.
#include "scanframes.h"
#include "sky.h"

#include <gtest/gtest.h>

#include <cstring>

using sky::FrameKind;
using sky::ScanFrame;

namespace {

ScanFrame frame(FrameKind kind, int depth, int width, int bytesPerLine, int lines, QByteArray data)
{
    return ScanFrame{kind, depth, width, bytesPerLine, lines, std::move(data)};
}

QByteArray samples16(std::initializer_list<quint16> values)
{
    QByteArray bytes;
    for (quint16 v : values)
        bytes.append(reinterpret_cast<const char *>(&v), sizeof v);  // the machine's byte order
    return bytes;
}

}  // namespace

TEST(ScanFrames, GreyAndLineArt)
{
    QImage out;
    // Lines padded to 4 bytes, as scanners may send them.
    ASSERT_EQ(sky::assembleFrames({frame(FrameKind::Grey, 8, 3, 4, 2,
                                         QByteArray("\x00\x80\xff?\x10\x20\x30?", 8))},
                                  out),
              sky::Ok);
    EXPECT_EQ(out.format(), QImage::Format_Grayscale8);
    ASSERT_EQ(out.size(), QSize(3, 2));
    EXPECT_EQ(qGray(out.pixel(1, 0)), 0x80);
    EXPECT_EQ(qGray(out.pixel(2, 1)), 0x30);

    // Line art: a set bit is black. 10 pixels in 2 bytes.
    ASSERT_EQ(sky::assembleFrames({frame(FrameKind::Grey, 1, 10, 2, 1, QByteArray("\xA0\x40", 2))},
                                  out),
              sky::Ok);
    ASSERT_EQ(out.size(), QSize(10, 1));
    EXPECT_EQ(qGray(out.pixel(0, 0)), 0);
    EXPECT_EQ(qGray(out.pixel(1, 0)), 255);
    EXPECT_EQ(qGray(out.pixel(2, 0)), 0);
    EXPECT_EQ(qGray(out.pixel(9, 0)), 0);
    EXPECT_EQ(qGray(out.pixel(8, 0)), 255);
}

TEST(ScanFrames, RgbAtEightAndSixteenBits)
{
    QImage out;
    ASSERT_EQ(sky::assembleFrames({frame(FrameKind::Rgb, 8, 2, 6, 1,
                                         QByteArray("\x01\x02\x03\xfa\xfb\xfc", 6))},
                                  out),
              sky::Ok);
    EXPECT_EQ(out.format(), QImage::Format_RGB888);
    EXPECT_EQ(out.pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(out.pixel(1, 0), qRgb(0xfa, 0xfb, 0xfc));

    ASSERT_EQ(sky::assembleFrames({frame(FrameKind::Rgb, 16, 1, 6, 1,
                                         samples16({0x1234, 0xff00, 0x00ff}))},
                                  out),
              sky::Ok);
    EXPECT_EQ(out.pixel(0, 0), qRgb(0x12, 0xff, 0x00));
}

TEST(ScanFrames, ThreePassFramesInAnyOrder)
{
    QImage out;
    const QList<ScanFrame> frames = {
        frame(FrameKind::Green, 8, 2, 2, 1, QByteArray("\x10\x20", 2)),
        frame(FrameKind::Blue, 8, 2, 2, 1, QByteArray("\x30\x40", 2)),
        frame(FrameKind::Red, 8, 2, 2, 1, QByteArray("\x50\x60", 2)),
    };
    ASSERT_EQ(sky::assembleFrames(frames, out), sky::Ok);
    EXPECT_EQ(out.pixel(0, 0), qRgb(0x50, 0x10, 0x30));
    EXPECT_EQ(out.pixel(1, 0), qRgb(0x60, 0x20, 0x40));
}

TEST(ScanFrames, HeightFromTheDataWhenUnknownOrShort)
{
    QImage out;
    // A hand scanner: lines unknown, 3 whole lines and a partial one.
    ASSERT_EQ(sky::assembleFrames({frame(FrameKind::Grey, 8, 2, 2, -1, QByteArray(7, '\x7f'))}, out),
              sky::Ok);
    EXPECT_EQ(out.size(), QSize(2, 3));
    // Announced 5 lines, sent 2: the picture holds what came.
    ASSERT_EQ(sky::assembleFrames({frame(FrameKind::Grey, 8, 2, 2, 5, QByteArray(4, '\x7f'))}, out),
              sky::Ok);
    EXPECT_EQ(out.size(), QSize(2, 2));
    // A three-pass scan is as high as its shortest frame.
    ASSERT_EQ(sky::assembleFrames({frame(FrameKind::Red, 8, 1, 1, -1, QByteArray(4, 'a')),
                                   frame(FrameKind::Green, 8, 1, 1, -1, QByteArray(3, 'b')),
                                   frame(FrameKind::Blue, 8, 1, 1, -1, QByteArray(4, 'c'))},
                                  out),
              sky::Ok);
    EXPECT_EQ(out.size(), QSize(1, 3));
}

TEST(ScanFrames, InconsistentFramesAreRefused)
{
    QImage out;
    EXPECT_EQ(sky::assembleFrames({}, out), sky::EmptyPicture);
    EXPECT_EQ(sky::assembleFrames({frame(FrameKind::Grey, 8, 2, 2, 0, {})}, out), sky::EmptyPicture);
    // Lines shorter than their pixels.
    EXPECT_EQ(sky::assembleFrames({frame(FrameKind::Rgb, 8, 4, 8, 1, QByteArray(8, 0))}, out),
              sky::BadFormat);
    EXPECT_EQ(sky::assembleFrames({frame(FrameKind::Grey, 12, 1, 2, 1, QByteArray(2, 0))}, out),
              sky::BadFormat);
    EXPECT_EQ(sky::assembleFrames({frame(FrameKind::Grey, 8, 0, 1, 1, QByteArray(1, 0))}, out),
              sky::BadFormat);
    // Three-pass frames of different widths, or a grey frame among them.
    EXPECT_EQ(sky::assembleFrames({frame(FrameKind::Red, 8, 2, 2, 1, QByteArray(2, 0)),
                                   frame(FrameKind::Green, 8, 3, 3, 1, QByteArray(3, 0))},
                                  out),
              sky::BadFormat);
    EXPECT_EQ(sky::assembleFrames({frame(FrameKind::Red, 8, 2, 2, 1, QByteArray(2, 0)),
                                   frame(FrameKind::Grey, 8, 2, 2, 1, QByteArray(2, 0))},
                                  out),
              sky::BadFormat);
    EXPECT_TRUE(out.isNull());
}
