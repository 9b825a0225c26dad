// The libFuzzer main of one reader: VISTA_FUZZ_FORMAT names a picture format
// (its whole reading path), else VISTA_FUZZ_CIBLE one of the file checks.
#include "entrees.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
#ifdef VISTA_FUZZ_FORMAT
    fuzz::image(sky::Format::VISTA_FUZZ_FORMAT, data, size);
#else
    fuzz::VISTA_FUZZ_CIBLE(data, size);
#endif
    return 0;
}
