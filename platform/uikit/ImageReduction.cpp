#include "platform/uikit/ImageReduction.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

std::uint32_t scaledSide(std::uint32_t side, double factor) {
    auto scaled = static_cast<std::uint32_t>(std::lround(side * factor));
    return std::clamp<std::uint32_t>(scaled, 1, side);
}

} // namespace

PixelSize ImageReduction::reducedSize(PixelSize source) const {
    if (source.width == 0 || source.height == 0)
        return source;
    const std::uint32_t shorter = std::min(source.width, source.height);
    const std::uint32_t longer = std::max(source.width, source.height);
    double factor = 1;
    if (boxSide > 0 && shorter > boxSide)
        factor = double(boxSide) / shorter;
    if (longestSide > 0 && longer * factor > longestSide)
        factor = double(longestSide) / longer;
    if (factor >= 1)
        return source;
    return {scaledSide(source.width, factor), scaledSide(source.height, factor)};
}

} // namespace platform
