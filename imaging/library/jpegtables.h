// Huffman tables made for a baseline JPEG's own symbols. libjpeg makes them
// only by keeping every DCT coefficient of the picture for a second pass (36 MB
// for 12 megapixels); a file written with the standard tables is much smaller
// than that, and its symbols can be recoded with tables of their own.
#pragma once

#include <QtGlobal>
#include <array>
#include <cstdio>
#include <vector>

namespace sky {

// Writes to `out` the baseline JPEG of `size` bytes at `data` (one scan, no
// restart intervals, as libjpeg writes it with standard tables) with optimal
// Huffman tables: the same coefficients, so the same picture, in fewer bytes.
// Returns Ok, WriteError, or BadFormat (nothing written) for any other JPEG.
[[nodiscard]] int writeWithOwnTables(const uchar *data, size_t size, FILE *out);

// A Huffman table as a DHT segment gives it: how many codes of each length
// from 1 to 16 bits, then the symbols from the shortest code on.
struct HuffmanTable {
    uchar counts[16] = {};
    std::vector<uchar> symbols;
};

// The shortest codes for symbols 0 to 255 met as often as `frequencies` says,
// none longer than 16 bits and none made only of ones (a reader takes those for
// padding); no symbols when no such table exists.
HuffmanTable optimalTable(const std::array<long, 256> &frequencies);

}  // namespace sky
