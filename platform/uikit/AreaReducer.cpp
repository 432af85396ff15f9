#include "platform/uikit/AreaReducer.h"

#include <new>

namespace platform {

namespace {

// For each source position along one side, the output position whose area holds it, or `skipped`
// when it is not among the samples of that area.
std::vector<std::uint32_t> sampledBins(std::uint32_t source, std::uint32_t output, std::uint32_t skipped) {
    std::vector<std::uint32_t> bins(source, skipped);
    for (std::uint32_t bin = 0; bin < output; ++bin) {
        // The positions x with x * output / source == bin.
        const auto first = static_cast<std::uint32_t>((std::uint64_t{bin} * source + output - 1) / output);
        const auto end = static_cast<std::uint32_t>((std::uint64_t{bin + 1} * source + output - 1) / output);
        const std::uint32_t stride =
            (end - first + AreaReducer::samplesPerSide - 1) / AreaReducer::samplesPerSide;
        for (std::uint32_t position = first; position < end; position += stride)
            bins[position] = bin;
    }
    return bins;
}

} // namespace

std::optional<AreaReducer> AreaReducer::create(PixelSize source, PixelSize output) {
    if (output.width == 0 || output.height == 0 || output.width > source.width || output.height > source.height)
        return std::nullopt;
    AreaReducer reducer(source, output);
    try {
        reducer.m_sums.resize(std::size_t{output.width} * output.height);
        reducer.m_outputColumn = sampledBins(source.width, output.width, skipped);
        reducer.m_outputRow = sampledBins(source.height, output.height, skipped);
        for (std::uint32_t x = 0; x < source.width; ++x)
            if (reducer.m_outputColumn[x] != skipped)
                reducer.m_sampledColumns.push_back(x);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    return reducer;
}

void AreaReducer::add(Sums& sums, const std::uint8_t* pixel) const {
    const unsigned alpha = pixel[3];
    sums.red += unsigned{pixel[0]} * alpha;
    sums.green += unsigned{pixel[1]} * alpha;
    sums.blue += unsigned{pixel[2]} * alpha;
    sums.alpha += alpha;
    ++sums.count;
}

void AreaReducer::addPixels(std::uint32_t y, const std::uint8_t* rgba, std::uint32_t count,
                            std::uint32_t firstColumn, std::uint32_t step) {
    if (y >= m_source.height || m_outputRow[y] == skipped || step == 0)
        return;
    Sums* row = m_sums.data() + std::size_t{m_outputRow[y]} * m_output.width;
    if (firstColumn == 0 && step == 1 && count >= m_source.width) {
        for (std::uint32_t x : m_sampledColumns)
            add(row[m_outputColumn[x]], rgba + std::size_t{x} * Bitmap::bytesPerPixel);
        return;
    }
    std::uint64_t x = firstColumn;
    for (std::uint32_t index = 0; index < count && x < m_source.width; ++index, x += step)
        if (m_outputColumn[x] != skipped)
            add(row[m_outputColumn[x]], rgba + std::size_t{index} * Bitmap::bytesPerPixel);
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
