#pragma once

#include "platform/uikit/Bitmap.h"
#include "platform/uikit/ImageReduction.h"

namespace platform {

// A decoded picture, possibly reduced, with the size its file announced.
struct DecodedPicture {
    Bitmap bitmap;
    PixelSize sourceSize;
};

} // namespace platform
