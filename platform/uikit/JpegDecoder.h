#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/uikit/Bitmap.h"
#include "platform/uikit/DecodedPicture.h"
#include "platform/uikit/ImageLimits.h"

namespace platform {

// Decodes a baseline or progressive JPEG (greyscale, YCbCr, RGB, CMYK or YCCK) into 8-bit RGBA with
// opaque alpha. CMYK files carrying an Adobe marker are taken as inverted, as Photoshop writes them.
// Nothing for data that ends early, has corrupt entropy-coded data, or exceeds the limits (size,
// scans, decoder memory).
class JpegDecoder {
public:
    static std::optional<Bitmap> decode(std::span<const std::uint8_t> bytes, const ImageLimits& limits = {});
    // The same, reduced: libjpeg scales by an eighth step while it decodes, and the rest is averaged
    // row by row, so the full-size picture is never held.
    static std::optional<DecodedPicture> decode(std::span<const std::uint8_t> bytes,
                                                const ImageReduction& reduction, const ImageLimits& limits = {});
};

} // namespace platform
