#include "platform/uikit/AreaReducer.h"

#include <new>

namespace platform {

std::optional<AreaReducer> AreaReducer::create(PixelSize source, PixelSize output) {
    if (output.width == 0 || output.height == 0 || output.width > source.width || output.height > source.height)
        return std::nullopt;
    AreaReducer reducer(source, output);
    try {
        reducer.m_sums.resize(std::size_t{output.width} * output.height);
        reducer.m_outputColumn.resize(source.width);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    for (std::uint32_t x = 0; x < source.width; ++x)
        reducer.m_outputColumn[x] = static_cast<std::uint32_t>(std::uint64_t{x} * output.width / source.width);
    return reducer;
}

void AreaReducer::addPixels(std::uint32_t y, const std::uint8_t* rgba, std::uint32_t count,
                            std::uint32_t firstColumn, std::uint32_t step) {
    if (y >= m_source.height)
        return;
    const auto outputRow = static_cast<std::uint32_t>(std::uint64_t{y} * m_output.height / m_source.height);
    Sums* row = m_sums.data() + std::size_t{outputRow} * m_output.width;
    std::uint64_t x = firstColumn;
    for (std::uint32_t index = 0; index < count && x < m_source.width; ++index, x += step) {
        const std::uint8_t* pixel = rgba + std::size_t{index} * Bitmap::bytesPerPixel;
        Sums& sums = row[m_outputColumn[x]];
        const unsigned alpha = pixel[3];
        sums.red += unsigned{pixel[0]} * alpha;
        sums.green += unsigned{pixel[1]} * alpha;
        sums.blue += unsigned{pixel[2]} * alpha;
        sums.alpha += alpha;
        ++sums.count;
    }
}

std::optional<Bitmap> AreaReducer::result() const {
    auto bitmap = Bitmap::allocate(m_output.width, m_output.height);
    if (!bitmap)
        return std::nullopt;
    std::uint8_t* out = bitmap->mutableBytes();
    for (const Sums& sums : m_sums) {
        if (sums.count > 0 && sums.alpha > 0) {
            out[0] = static_cast<std::uint8_t>((sums.red + sums.alpha / 2) / sums.alpha);
            out[1] = static_cast<std::uint8_t>((sums.green + sums.alpha / 2) / sums.alpha);
            out[2] = static_cast<std::uint8_t>((sums.blue + sums.alpha / 2) / sums.alpha);
            out[3] = static_cast<std::uint8_t>((sums.alpha + sums.count / 2) / sums.count);
        }
        out += Bitmap::bytesPerPixel;
    }
    return bitmap;
}

} // namespace platform
