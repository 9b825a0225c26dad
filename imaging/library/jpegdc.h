// A JPEG's picture at 1/8 of its size straight from its blocks' DC values: at
// that scale each 8 x 8 block gives one pixel, its mean, so the AC codes need
// only be gone over, not dequantised nor transformed. What thumbnails and the
// smallest previews are decoded with; libjpeg keeps every other file.
#pragma once

#include "skyio.h"

#include <QImage>
#include <cstdint>
#include <memory>

namespace sky {

// What the DC decoding gives: the picture as it is stored (not yet turned
// upright), and what the headers say of it, as libjpeg reads them.
struct DcPicture {
    QImage image;
    int orientation = 1;      // of the first Exif APP1 segment
    int densityUnit = 0;      // of the JFIF APP0 segment: 0 none, 1 per inch, 2 per centimetre
    int densityX = 0;
    int densityY = 0;
};

// Memory a reading keeps for the next one, whichever thread makes it: on this
// kind of machine a fresh buffer costs a page fault every 4 kB, giving it back
// flushes the address translations of every core the process runs on, and a
// thread pool's threads come and go (memory of a thread's own would go with them).
class Scratch {
public:
    Scratch();   // takes memory an earlier reading kept, if any
    ~Scratch();  // keeps it for the next reading, unless larger than a thumbnail's reading needs
    Scratch(const Scratch &) = delete;
    Scratch &operator=(const Scratch &) = delete;
    // At least `size` bytes, left as the last reading left them; null when out of memory.
    uchar *take(size_t size);

private:
    std::unique_ptr<uchar[]> data_;
    size_t size_ = 0;
};

// Decodes the JPEG of `size` bytes at `data` at 1/8 of its size (each side
// rounded up), as libjpeg's 1/8 scale gives it: RGB888, or, when `grey` and
// the file is grey, Indexed8 with a grey palette. Returns Ok; Stopped when
// `tracker` said so (stepped up to `steps`); Unsupported, with nothing
// decoded, for a file left to libjpeg: not one sequential Huffman scan of
// grey or YCbCr samples with sampling factors 1 or 2, damaged, cut, or a
// picture beyond the reading budget.
[[nodiscard]] int decodeDc(const uchar *data, size_t size, bool grey, ProgressTracker &tracker, qint64 steps,
                           DcPicture &out);

}  // namespace sky
