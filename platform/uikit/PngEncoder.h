#pragma once

#include <cstdint>
#include <vector>

#include "platform/uikit/Bitmap.h"

namespace platform {

// Writes a bitmap as an 8-bit RGBA, non-interlaced PNG with straight alpha.
class PngEncoder {
public:
    // The PNG file's bytes; empty for an empty bitmap or when encoding fails.
    static std::vector<std::uint8_t> encode(const Bitmap& bitmap);
};

} // namespace platform
