#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/uikit/Bitmap.h"

namespace platform {

// Writes 8-bit, non-interlaced PNGs with zlib's fastest level: pictures of screens are written often
// and read rarely.
class PngEncoder {
public:
    // Fills one row of straight-alpha RGBA bytes, four per pixel, for the row index given.
    using RowWriter = std::function<void(std::uint32_t row, std::uint8_t* bytes)>;

    // A bitmap as RGBA with straight alpha. The PNG file's bytes; empty for an empty bitmap or when
    // encoding fails.
    static std::vector<std::uint8_t> encode(const Bitmap& bitmap);
    // Rows made one at a time by `writeRow`, so a caller converts its own pixels without a copy of the
    // whole picture. Empty for an empty size or when encoding fails.
    static std::vector<std::uint8_t> encodeRows(std::uint32_t width, std::uint32_t height,
                                                const RowWriter& writeRow);
};

} // namespace platform
