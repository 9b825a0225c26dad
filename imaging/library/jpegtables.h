// Huffman tables made for a baseline JPEG's own symbols. libjpeg makes them
// only by keeping every DCT coefficient of the picture for a second pass (36 MB
// for 12 megapixels); a file written with the standard tables is much smaller
// than that, and its symbols can be recoded with tables of their own.
#pragma once

#include "jpegscan.h"

#include <array>
#include <cstdio>
#include <functional>

namespace sky {

// Writes to `out` the baseline JPEG of `size` bytes at `data` (one scan, no
// restart intervals, as libjpeg writes it with standard tables) with optimal
// Huffman tables: the same coefficients, so the same picture, in fewer bytes.
// Returns Ok, WriteError, or BadFormat (nothing written) for any other JPEG.
[[nodiscard]] int writeWithOwnTables(const uchar *data, size_t size, FILE *out);

// What a JPEG is recoded to: the steps its coefficients are rounded to
// (luminance, chrominance; in natural order), the Huffman tables it is coded
// with (DC, AC; luminance in slot 0, chrominance in 1; none: tables made for
// its own symbols, in a first pass), whether only the luminance is kept (a
// grey file), and the JFIF density.
struct Requantisation {
    uint16_t tables[2][64] = {};
    HuffmanTable huffman[2][4];
    bool grey = false;
    uchar densityUnit = 0;
    uint16_t densityX = 1;
    uint16_t densityY = 1;
};

// Writes to `out` the picture of the sequential JPEG of `size` bytes at `data`
// with its coefficients rounded to `to`'s steps, a block at a time: no more
// than a block is held (in grey, a row of the luminance's blocks where several
// make a unit). Ok, WriteError, Stopped (`progress` said
// so), or BadFormat for a file it cannot recode (progressive, arithmetic,
// damaged, cut): with tables given, damage is found as the writing goes, and
// part of the file may be written.
// `progress(percent, bytes)` says how far the recoding is, and how many of the
// source's bytes are read; false stops it.
using RecodingProgress = std::function<bool(int percent, size_t bytes)>;
[[nodiscard]] int requantiseJpeg(const uchar *data, size_t size, const Requantisation &to, FILE *out,
                                 const RecodingProgress &progress);

// The shortest codes for symbols 0 to 255 met as often as `frequencies` says,
// none longer than 16 bits and none made only of ones (a reader takes those for
// padding); no symbols when no such table exists.
HuffmanTable optimalTable(const std::array<long, 256> &frequencies);

}  // namespace sky
