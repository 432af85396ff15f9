#pragma once

#include <cstdint>

namespace platform {

struct PixelSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// How small a picture may be decoded, as ImageIO's thumbnails do: a picture shown in a square box
// of `boxSide` pixels needs no more pixels than cover that box with its aspect ratio kept, and
// `longestSide` bounds its longer side in any case (a very wide picture, or a box not known). A
// bound of zero is no bound. A picture is never enlarged.
struct ImageReduction {
    // Where the size a picture is shown at is not known.
    static constexpr std::uint32_t defaultLongestSide = 1024;

    std::uint32_t boxSide = 0;
    std::uint32_t longestSide = 0;

    static ImageReduction none() { return {}; }
    static ImageReduction toCover(std::uint32_t boxSide) { return {boxSide, defaultLongestSide}; }

    PixelSize reducedSize(PixelSize source) const;
    bool reduces(PixelSize source) const { return reducedSize(source) != source; }
};

} // namespace platform
