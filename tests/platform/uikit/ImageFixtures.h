#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Test images written with libpng and libjpeg directly, independently of the platform's encoder, so
// the decoders are checked against files the platform did not produce.
namespace fixtures {

struct PaletteEntry {
    std::uint8_t r = 0, g = 0, b = 0;
};

struct PngRecipe {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int colorType = 0; // PNG_COLOR_TYPE_...
    int bitDepth = 8;
    bool interlaced = false;
    // Rows as the file stores them: packed samples, 16-bit ones big-endian, no filter byte.
    std::vector<std::uint8_t> rows;
    std::vector<PaletteEntry> palette;
    // tRNS: alpha per palette entry, or the one transparent grey or RGB colour (16-bit samples).
    std::vector<std::uint8_t> paletteAlpha;
    std::optional<std::uint16_t> transparentGrey;
    std::optional<PaletteEntry> transparentRGB;
};

PngRecipe pngRecipe(std::uint32_t width, std::uint32_t height, int colorType, int bitDepth,
                bool interlaced = false);
std::vector<std::uint8_t> writePng(const PngRecipe& recipe);

struct JpegRecipe {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int components = 3; // 1 grey, 3 RGB, 4 CMYK (stored as given; libjpeg adds an Adobe marker)
    std::vector<std::uint8_t> samples;
    int quality = 95;
    bool progressive = false;
};

JpegRecipe jpegRecipe(std::uint32_t width, std::uint32_t height, int components);
std::vector<std::uint8_t> writeJpeg(const JpegRecipe& recipe);

// PNG chunks crafted by hand, with a correct CRC.
std::vector<std::uint8_t> pngChunk(std::string_view type, const std::vector<std::uint8_t>& data);
// The signature, an IHDR announcing width x height 8-bit RGBA, an IDAT holding an empty zlib stream
// (so a reader gets past the header to the image data) and IEND.
std::vector<std::uint8_t> pngWithoutPixels(std::uint32_t width, std::uint32_t height);

// Offset of the first byte after a JPEG SOFn marker's length field (the precision byte), or 0.
std::size_t jpegFrameHeaderOffset(const std::vector<std::uint8_t>& jpeg);

} // namespace fixtures
