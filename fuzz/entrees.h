// What the fuzz targets check, one function per reader, shared by the libFuzzer
// mains and by the test that replays the inputs kept in fuzz/regressions/.
// Each takes one input and calls std::abort() when a property does not hold.
#pragma once

#include "formats.h"

#include <cstddef>
#include <cstdint>

namespace fuzz {

// The bytes as a slideshow file: every record read, a slide inserted then
// removed, one moved there and back; the records must come out as they went in.
void diaporama(const uint8_t *data, size_t size);

// The bytes as SLI.CFG: loaded, stored and loaded again, the file unchanged.
void configuration(const uint8_t *data, size_t size);

// The bytes as a picture file of `format`: its information, then its reading
// at each depth; a reading that succeeds gives a picture of the size the
// information gave, one that fails no picture (but what a cut file showed).
void image(sky::Format format, const uint8_t *data, size_t size);

}  // namespace fuzz
