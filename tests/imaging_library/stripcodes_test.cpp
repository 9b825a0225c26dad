// Our LZW and PackBits strips against libtiff's readers: lengths that cross a
// change of code width, a full table or a piece's 128 bytes, on data that never
// repeats, data made of runs and data that keeps finding longer strings.
#include "stripcodes.h"

#include <QRandomGenerator>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <tiffio.h>
#include <unistd.h>

using namespace sky;

namespace {

// What libtiff reads from a one-row grey TIFF whose only strip is `code`.
std::vector<uchar> readBack(const std::vector<uchar> &code, size_t width, int compression)
{
    char path[] = "/tmp/stripcodes_testXXXXXX";
    const int fd = mkstemp(path);
    EXPECT_GE(fd, 0);
    close(fd);
    TIFF *out = TIFFOpen(path, "w");
    TIFFSetField(out, TIFFTAG_IMAGEWIDTH, uint32_t(width));
    TIFFSetField(out, TIFFTAG_IMAGELENGTH, 1u);
    TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(out, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, 1u);
    TIFFWriteRawStrip(out, 0, const_cast<uchar *>(code.data()), tmsize_t(code.size()));
    TIFFClose(out);
    TIFF *in = TIFFOpen(path, "r");
    std::vector<uchar> strip(width);
    EXPECT_EQ(tmsize_t(width), TIFFReadEncodedStrip(in, 0, strip.data(), tmsize_t(width)));
    TIFFClose(in);
    std::remove(path);
    return strip;
}

std::vector<uchar> made(const std::string &kind, size_t size, QRandomGenerator &random)
{
    std::vector<uchar> data(size);
    for (size_t i = 0; i < size;) {
        if (kind == "runs") {
            const size_t run = std::min<size_t>(size - i, random.bounded(1, 300));
            std::fill_n(data.begin() + qsizetype(i), run, uchar(random.bounded(256)));
            i += run;
            continue;
        }
        data[i] = kind == "noise"     ? uchar(random.bounded(256))
                  : kind == "repeats" ? uchar(random.bounded(4) + (i / 97) % 3)
                  : kind == "flat"    ? uchar(200)
                                      : uchar(i % 251 + i / 1000);
        ++i;
    }
    return data;
}

}  // namespace

TEST(StripCodes, LibtiffReadsBackEveryStrip)
{
    QRandomGenerator random(7);
    const struct {
        int compression;
        const char *kind;
        size_t size;
    } cases[] = {
        {COMPRESSION_LZW, "noise", 1},        {COMPRESSION_LZW, "noise", 2},
        {COMPRESSION_LZW, "noise", 253},      {COMPRESSION_LZW, "noise", 254},
        {COMPRESSION_LZW, "noise", 255},      {COMPRESSION_LZW, "noise", 765},
        {COMPRESSION_LZW, "noise", 766},      {COMPRESSION_LZW, "noise", 767},
        {COMPRESSION_LZW, "noise", 1789},     {COMPRESSION_LZW, "noise", 3837},
        {COMPRESSION_LZW, "noise", 3838},     {COMPRESSION_LZW, "noise", 3839},
        {COMPRESSION_LZW, "noise", 100000},   {COMPRESSION_LZW, "repeats", 5000},
        {COMPRESSION_LZW, "repeats", 1 << 21}, {COMPRESSION_LZW, "flat", 300000},
        {COMPRESSION_LZW, "ramp", 70000},     {COMPRESSION_LZW, "runs", 200000},
        {COMPRESSION_PACKBITS, "noise", 1},   {COMPRESSION_PACKBITS, "noise", 128},
        {COMPRESSION_PACKBITS, "noise", 129}, {COMPRESSION_PACKBITS, "noise", 100000},
        {COMPRESSION_PACKBITS, "flat", 2},    {COMPRESSION_PACKBITS, "flat", 3},
        {COMPRESSION_PACKBITS, "flat", 129},  {COMPRESSION_PACKBITS, "flat", 130},
        {COMPRESSION_PACKBITS, "flat", 131},  {COMPRESSION_PACKBITS, "runs", 100000},
        {COMPRESSION_PACKBITS, "repeats", 9999},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.compression << " " << c.kind << " " << c.size);
        const std::vector<uchar> data = made(c.kind, c.size, random);
        std::vector<uchar> code;
        if (c.compression == COMPRESSION_LZW) {
            encodeTiffLzw(data.data(), data.size(), code);
        } else {
            appendPackBits(data.data(), data.size(), code);
            // Copied pieces cost one byte in 128, and a run two bytes.
            EXPECT_LE(code.size(), c.size + (c.size + 127) / 128);
        }
        ASSERT_EQ(data, readBack(code, c.size, c.compression));
        if (std::string(c.kind) == "flat") {
            EXPECT_LE(code.size(), c.size / 50 + 8);
        }
    }
}

TEST(StripCodes, DifferencingLeavesTheFirstPixelAndTheStepsBetweenNeighbours)
{
    std::vector<uchar> row = {10, 20, 30, 15, 20, 25, 5, 255, 0};
    differenceRow(row.data(), row.size(), 3);
    EXPECT_EQ((std::vector<uchar>{10, 20, 30, 5, 0, 251, 246, 235, 231}), row);
}
