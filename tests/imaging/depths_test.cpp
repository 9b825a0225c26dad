// Colour depths handed to the library for reading and writing.
#include "imagefile.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

TEST(Depths, DisplayDepthFromDeviceBits)
{
    EXPECT_EQ(DeviceColorBits(1), 4);
    EXPECT_EQ(DeviceColorBits(4), 4);
    EXPECT_EQ(DeviceColorBits(5), 8);
    EXPECT_EQ(DeviceColorBits(8), 8);
    EXPECT_EQ(DeviceColorBits(15), 8);
    EXPECT_EQ(DeviceColorBits(16), 24);
    EXPECT_EQ(DeviceColorBits(24), 24);
    EXPECT_EQ(DeviceColorBits(32), 24);
    EXPECT_EQ(DisplayColorBits(nullptr), DeviceColorBits(QGuiApplication::primaryScreen()->depth()));
}

TEST(Depths, Reading)
{
    EXPECT_EQ(ReadDepth(lColorVga, 24), 0);
    EXPECT_EQ(ReadDepth(lMonoChrome, 24), 1);
    EXPECT_EQ(ReadDepth(lColor16, 24), 4);
    EXPECT_EQ(ReadDepth(lColor256, 24), 8);
    EXPECT_EQ(ReadDepth(lColorTrue, 8), 24);
    EXPECT_EQ(ReadDepth(lAutoMatic, 8), 8);
    EXPECT_EQ(ReadDepth(lAutoMatic, 24), 24);
}

TEST(Depths, AutomaticOnATrueColourDisplayWritesBmpAt24AndGifAt8)
{
    for (int deviceBits : {24, 32}) {
        const int display = DeviceColorBits(deviceBits);
        EXPECT_EQ(WriteDepth(sAutoMatic, sky::Format::Bmp, display), 24);
        EXPECT_EQ(WriteDepth(sAutoMatic, sky::Format::Gif, display), 8);
        EXPECT_EQ(WriteDepth(sAutoMatic, sky::Format::Jpeg, display), 24);
    }
    EXPECT_EQ(WriteDepth(sAutoMatic, sky::Format::Png, 4), 4);
    EXPECT_EQ(WriteDepth(sAutoMatic, sky::Format::Gif, 4), 4);
}

TEST(Depths, JpegGrayIsAnEightBitBmpButAGreyscaleJpeg)
{
    EXPECT_EQ(WriteDepth(sJpegGray, sky::Format::Bmp, 24), 8);
    EXPECT_EQ(WriteDepth(sJpegGray, sky::Format::Gif, 24), 8);
    EXPECT_EQ(WriteDepth(sJpegGray, sky::Format::Jpeg, 24), 1);
}

TEST(Depths, WritingTable)
{
    struct Row { TSaveResolution resolution; int other, gif, jpeg; };
    const Row rows[] = {
        {sColorVga, 0, 0, 24},  {sMonoChrome, 1, 1, 1}, {sColor16, 4, 4, 24},
        {sColor256, 8, 8, 24},  {sColorTrue, 24, 8, 24}, {sJpegGray, 8, 8, 1},
    };
    for (const Row &r : rows) {
        for (sky::Format f : {sky::Format::Bmp, sky::Format::Png, sky::Format::Tif, sky::Format::Pcx})
            EXPECT_EQ(WriteDepth(r.resolution, f, 8), r.other) << r.resolution;
        EXPECT_EQ(WriteDepth(r.resolution, sky::Format::Gif, 8), r.gif) << r.resolution;
        EXPECT_EQ(WriteDepth(r.resolution, sky::Format::Jpeg, 8), r.jpeg) << r.resolution;
    }
}

TEST(Depths, TiffCompressionCodes)
{
    EXPECT_EQ(TiffCompressionCode(sNONE), 1);
    EXPECT_EQ(TiffCompressionCode(sCCITT), 2);
    EXPECT_EQ(TiffCompressionCode(sLZW), 5);
    EXPECT_EQ(TiffCompressionCode(sPACKBITS), 32773);
}
