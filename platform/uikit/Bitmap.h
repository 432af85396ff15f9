#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

// One pixel: straight (not premultiplied) 8-bit red, green, blue and alpha.
struct RGBA {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
    friend bool operator==(const RGBA&, const RGBA&) = default;
};

// Pixels in Cairo's CAIRO_FORMAT_ARGB32 layout: one native-endian 32-bit word per pixel holding
// premultiplied alpha, red, green, blue from the high byte down; rows `stride` bytes apart.
struct CairoARGB32 {
    std::vector<std::uint8_t> bytes;
    int width = 0;
    int height = 0;
    int stride = 0;
};

// A decoded image: straight (not premultiplied) RGBA, 8 bits a channel, rows top to bottom with no
// padding between them. Straight alpha keeps decoded colours exact for comparisons and encoding;
// toCairoARGB32 premultiplies when drawing needs it. An empty bitmap is 0 x 0.
class Bitmap {
public:
    static constexpr std::size_t bytesPerPixel = 4;

    Bitmap() = default;

    // Transparent black; nothing for a zero or overflowing size or when memory runs out.
    static std::optional<Bitmap> allocate(std::uint32_t width, std::uint32_t height);
    // Takes `rgba` as the pixels; nothing unless it holds exactly width * height * 4 bytes.
    static std::optional<Bitmap> withRGBA(std::uint32_t width, std::uint32_t height,
                                          std::vector<std::uint8_t> rgba);

    std::uint32_t width() const { return m_width; }
    std::uint32_t height() const { return m_height; }
    std::size_t stride() const { return std::size_t{m_width} * bytesPerPixel; }
    bool isEmpty() const { return m_width == 0 || m_height == 0; }

    const std::vector<std::uint8_t>& bytes() const { return m_bytes; }
    std::uint8_t* mutableBytes() { return m_bytes.data(); }

    // Transparent black outside the bitmap.
    RGBA pixelAt(std::uint32_t x, std::uint32_t y) const;
    // Ignored outside the bitmap.
    void setPixel(std::uint32_t x, std::uint32_t y, RGBA pixel);

    // Premultiplied copy for Cairo; empty (0 x 0) for an empty bitmap or one wider or taller than
    // Cairo's 32767-pixel limit.
    CairoARGB32 toCairoARGB32() const;

    friend bool operator==(const Bitmap&, const Bitmap&) = default;

private:
    Bitmap(std::uint32_t width, std::uint32_t height, std::vector<std::uint8_t> bytes)
        : m_width(width), m_height(height), m_bytes(std::move(bytes)) {}

    std::uint32_t m_width = 0;
    std::uint32_t m_height = 0;
    std::vector<std::uint8_t> m_bytes;
};

} // namespace platform
