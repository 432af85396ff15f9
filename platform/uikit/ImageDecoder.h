#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/uikit/Bitmap.h"
#include "platform/uikit/DecodedPicture.h"
#include "platform/uikit/ImageLimits.h"

namespace platform {

enum class ImageFormat { Unknown, PNG, JPEG };

// Decodes PNG and JPEG data held in memory into straight RGBA. The format is told by the data's
// signature, never by a file name. Broken, truncated, oversized or unknown data gives nothing.
class ImageDecoder {
public:
    static ImageFormat detectFormat(std::span<const std::uint8_t> bytes);
    static std::optional<Bitmap> decode(std::span<const std::uint8_t> bytes, const ImageLimits& limits = {});
    // Reduced while it is decoded, never held at full size when the reduction makes it smaller.
    static std::optional<DecodedPicture> decode(std::span<const std::uint8_t> bytes,
                                                const ImageReduction& reduction, const ImageLimits& limits = {});
};

} // namespace platform
