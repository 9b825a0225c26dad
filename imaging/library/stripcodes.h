// The codes of TIFF strips written here rather than by libtiff: LZW (codes of 9
// to 12 bits, most significant bit first, the code width growing one code early,
// as every TIFF reader expects) and PackBits.
#pragma once

#include <QtGlobal>
#include <cstddef>
#include <vector>

namespace sky {

// Replaces `out` with the LZW code of `size` bytes, from a Clear code to End of
// information: one strip's data.
void encodeTiffLzw(const uchar *data, size_t size, std::vector<uchar> &out);

// Appends the PackBits code of one row of `size` bytes to `out`: runs of three
// or more equal bytes repeated, everything else copied, at most 128 bytes a piece.
void appendPackBits(const uchar *row, size_t size, std::vector<uchar> &out);

// Horizontal differencing of one row of 8-bit samples, `samples` to a pixel,
// done in place: what the TIFF predictor 2 reader adds back.
void differenceRow(uchar *row, size_t bytes, int samples);

}  // namespace sky
