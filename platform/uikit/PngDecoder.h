#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/uikit/Bitmap.h"
#include "platform/uikit/DecodedPicture.h"
#include "platform/uikit/ImageLimits.h"

namespace platform {

// Decodes a PNG of any colour type, bit depth and interlacing into 8-bit straight RGBA: palettes and
// low bit depths are expanded, tRNS becomes alpha, 16-bit samples keep their high byte. Gamma and
// colour profiles are not applied. Nothing for data that is not a complete, valid PNG image or that
// exceeds the limits.
class PngDecoder {
public:
    static std::optional<Bitmap> decode(std::span<const std::uint8_t> bytes, const ImageLimits& limits = {});
    // The same, reduced row by row as it is read: the full-size picture is never held.
    static std::optional<DecodedPicture> decode(std::span<const std::uint8_t> bytes,
                                                const ImageReduction& reduction, const ImageLimits& limits = {});
};

} // namespace platform
