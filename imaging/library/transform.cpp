// Mirror and flip in place. The picture keeps its own format and palette
// whatever the display's depth.
#include "sky.h"

namespace sky {

int mirror(int /*displayBits*/, QImage &image)
{
    if (image.isNull())
        return EmptyPicture;
    image.mirror(true, false);
    return image.isNull() ? OutOfMemory : Ok;
}

int flip(int /*displayBits*/, QImage &image)
{
    if (image.isNull())
        return EmptyPicture;
    image.mirror(false, true);
    return image.isNull() ? OutOfMemory : Ok;
}

}  // namespace sky
