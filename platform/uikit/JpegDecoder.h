#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/uikit/Bitmap.h"
#include "platform/uikit/ImageLimits.h"

namespace platform {

// Decodes a baseline or progressive JPEG (greyscale, YCbCr, RGB, CMYK or YCCK) into 8-bit RGBA with
// opaque alpha. CMYK files carrying an Adobe marker are taken as inverted, as Photoshop writes them.
// Nothing for data that ends early, has corrupt entropy-coded data, or exceeds the limits.
class JpegDecoder {
public:
    static std::optional<Bitmap> decode(std::span<const std::uint8_t> bytes, const ImageLimits& limits = {});
};

} // namespace platform
