#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/uikit/Bitmap.h"
#include "platform/uikit/ImageReduction.h"

namespace platform {

// Shrinks a picture while it is decoded: each output pixel is the average of the source pixels in
// its area, at most `samplesPerSide` of them evenly spread along each side (every one for the usual
// small reductions; a bounded few for a huge picture, whose cost then stays with the decoder).
// Rows may arrive in any order and in pieces (an interlaced pass gives every eighth pixel of a
// row), so only the output is ever held whole. Colours are weighted by alpha, so a transparent
// pixel lends no colour to its neighbours.
class AreaReducer {
public:
    static constexpr std::uint32_t samplesPerSide = 4;

    // Nothing when the output is empty or larger than the source, or when memory runs out.
    static std::optional<AreaReducer> create(PixelSize source, PixelSize output);

    // `count` straight RGBA pixels of source row `y`, at columns firstColumn, firstColumn + step, ...
    // Pixels outside the source are ignored.
    void addPixels(std::uint32_t y, const std::uint8_t* rgba, std::uint32_t count, std::uint32_t firstColumn = 0,
                   std::uint32_t step = 1);
    // The averages; an output pixel that no source pixel reached is transparent black.
    std::optional<Bitmap> result() const;

private:
    struct Sums {
        std::uint64_t red = 0, green = 0, blue = 0, alpha = 0;
        std::uint32_t count = 0;
    };

    static constexpr std::uint32_t skipped = UINT32_MAX;

    AreaReducer(PixelSize source, PixelSize output) : m_source(source), m_output(output) {}
    void add(Sums& sums, const std::uint8_t* pixel) const;

    PixelSize m_source;
    PixelSize m_output;
    std::vector<std::uint32_t> m_outputColumn; // per source column; `skipped` when not sampled
    std::vector<std::uint32_t> m_outputRow;    // per source row, the same
    std::vector<std::uint32_t> m_sampledColumns;
    std::vector<Sums> m_sums; // output rows top to bottom
};

} // namespace platform
