#include "platform/uikit/Bitmap.h"

#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace platform {

namespace {

constexpr std::uint32_t cairoMaximumSide = 32767;

// Number of bytes for width x height pixels, or nothing when it does not fit in memory's range.
std::optional<std::size_t> byteCount(std::uint32_t width, std::uint32_t height) {
    if (width == 0 || height == 0)
        return std::nullopt;
    std::size_t pixels = std::size_t{width} * height; // cannot overflow: both are below 2^32
    if (pixels > std::numeric_limits<std::size_t>::max() / Bitmap::bytesPerPixel)
        return std::nullopt;
    return pixels * Bitmap::bytesPerPixel;
}

std::uint8_t premultiply(std::uint8_t component, std::uint8_t alpha) {
    // Rounds to nearest, as Cairo's own premultiplication does.
    return static_cast<std::uint8_t>((unsigned{component} * alpha + 127) / 255);
}

std::uint32_t cairoWord(const std::uint8_t* rgba) {
    std::uint8_t alpha = rgba[3];
    return std::uint32_t{alpha} << 24 | std::uint32_t{premultiply(rgba[0], alpha)} << 16 |
           std::uint32_t{premultiply(rgba[1], alpha)} << 8 | std::uint32_t{premultiply(rgba[2], alpha)};
}

} // namespace

std::optional<Bitmap> Bitmap::allocate(std::uint32_t width, std::uint32_t height) {
    auto size = byteCount(width, height);
    if (!size)
        return std::nullopt;
    try {
        return Bitmap(width, height, std::vector<std::uint8_t>(*size));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    } catch (const std::length_error&) {
        return std::nullopt;
    }
}

std::optional<Bitmap> Bitmap::withRGBA(std::uint32_t width, std::uint32_t height,
                                       std::vector<std::uint8_t> rgba) {
    auto size = byteCount(width, height);
    if (!size || rgba.size() != *size)
        return std::nullopt;
    return Bitmap(width, height, std::move(rgba));
}

RGBA Bitmap::pixelAt(std::uint32_t x, std::uint32_t y) const {
    if (x >= m_width || y >= m_height)
        return {};
    const std::uint8_t* pixel = m_bytes.data() + y * stride() + std::size_t{x} * bytesPerPixel;
    return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

void Bitmap::setPixel(std::uint32_t x, std::uint32_t y, RGBA pixel) {
    if (x >= m_width || y >= m_height)
        return;
    std::uint8_t* target = m_bytes.data() + y * stride() + std::size_t{x} * bytesPerPixel;
    target[0] = pixel.r;
    target[1] = pixel.g;
    target[2] = pixel.b;
    target[3] = pixel.a;
}

CairoARGB32 Bitmap::toCairoARGB32() const {
    CairoARGB32 image;
    if (isEmpty() || m_width > cairoMaximumSide || m_height > cairoMaximumSide)
        return image;
    // Cairo wants rows aligned to 4 bytes, which 4-byte pixels already are.
    image.width = static_cast<int>(m_width);
    image.height = static_cast<int>(m_height);
    image.stride = static_cast<int>(stride());
    try {
        image.bytes.resize(m_bytes.size());
    } catch (const std::bad_alloc&) {
        return {};
    }
    for (std::size_t offset = 0; offset < m_bytes.size(); offset += bytesPerPixel) {
        std::uint32_t word = cairoWord(m_bytes.data() + offset);
        std::memcpy(image.bytes.data() + offset, &word, sizeof word);
    }
    return image;
}

} // namespace platform
