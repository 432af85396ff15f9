#include "tests/platform/uikit/ImageFixtures.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>
#include <png.h>

namespace fixtures {

namespace {

// --- PNG: libpng errors longjmp back to writePngRows, whose frame holds only trivial locals.

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* output = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    output->insert(output->end(), data, data + length);
}

void flushNothing(png_structp) {}

[[noreturn]] void jumpOnPngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void ignorePngWarning(png_structp, png_const_charp) {}

void writeTransparency(png_structp png, png_infop info, const PngRecipe& recipe) {
    if (!recipe.paletteAlpha.empty()) {
        png_set_tRNS(png, info, recipe.paletteAlpha.data(), static_cast<int>(recipe.paletteAlpha.size()),
                     nullptr);
    } else if (recipe.transparentGrey || recipe.transparentRGB) {
        png_color_16 colour{};
        if (recipe.transparentGrey)
            colour.gray = *recipe.transparentGrey;
        if (recipe.transparentRGB) {
            colour.red = recipe.transparentRGB->r;
            colour.green = recipe.transparentRGB->g;
            colour.blue = recipe.transparentRGB->b;
        }
        png_set_tRNS(png, info, nullptr, 0, &colour);
    }
}

bool writePngRows(png_structp png, png_infop info, const PngRecipe& recipe, png_colorp palette, png_bytepp rows,
                  std::vector<std::uint8_t>* output) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, output, appendBytes, flushNothing);
    png_set_IHDR(png, info, recipe.width, recipe.height, recipe.bitDepth, recipe.colorType,
                 recipe.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!recipe.palette.empty())
        png_set_PLTE(png, info, palette, static_cast<int>(recipe.palette.size()));
    writeTransparency(png, info, recipe);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

std::size_t rowBytes(const PngRecipe& recipe) {
    int channels = 1;
    if (recipe.colorType == PNG_COLOR_TYPE_RGB)
        channels = 3;
    else if (recipe.colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        channels = 2;
    else if (recipe.colorType == PNG_COLOR_TYPE_RGB_ALPHA)
        channels = 4;
    return (std::size_t{recipe.width} * channels * recipe.bitDepth + 7) / 8;
}

// --- JPEG: the compressor's inputs are known good, so its default error handling (exit) stays.

std::uint32_t pngCrc(const std::uint8_t* data, std::size_t length, std::uint32_t crc = 0) {
    crc = ~crc;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

} // namespace

PngRecipe pngRecipe(std::uint32_t width, std::uint32_t height, int colorType, int bitDepth, bool interlaced) {
    PngRecipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.colorType = colorType;
    recipe.bitDepth = bitDepth;
    recipe.interlaced = interlaced;
    return recipe;
}

std::vector<std::uint8_t> writePng(const PngRecipe& recipe) {
    std::vector<std::uint8_t> output;
    std::vector<png_color> palette;
    for (const auto& entry : recipe.palette)
        palette.push_back({entry.r, entry.g, entry.b});
    if (recipe.rows.size() != rowBytes(recipe) * recipe.height)
        return {};
    std::vector<png_bytep> rows;
    auto* pixels = const_cast<std::uint8_t*>(recipe.rows.data());
    for (std::uint32_t y = 0; y < recipe.height; ++y)
        rows.push_back(pixels + y * rowBytes(recipe));

    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpOnPngError, ignorePngWarning);
    png_infop info = png_create_info_struct(png);
    bool written = writePngRows(png, info, recipe, palette.data(), rows.data(), &output);
    png_destroy_write_struct(&png, &info);
    return written ? output : std::vector<std::uint8_t>{};
}

JpegRecipe jpegRecipe(std::uint32_t width, std::uint32_t height, int components) {
    JpegRecipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.components = components;
    return recipe;
}

std::vector<std::uint8_t> writeJpeg(const JpegRecipe& recipe) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = recipe.width;
    info.image_height = recipe.height;
    info.input_components = recipe.components;
    info.in_color_space = recipe.components == 1 ? JCS_GRAYSCALE : recipe.components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, recipe.quality, TRUE);
    if (recipe.progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    const std::size_t stride = std::size_t{recipe.width} * recipe.components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<std::uint8_t*>(recipe.samples.data()) + info.next_scanline * stride;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<std::uint8_t> output(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return output;
}

std::vector<std::uint8_t> pngChunk(std::string_view type, const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> chunk;
    appendBigEndian(chunk, static_cast<std::uint32_t>(data.size()));
    chunk.insert(chunk.end(), type.begin(), type.end());
    chunk.insert(chunk.end(), data.begin(), data.end());
    // The CRC covers the type and the data, not the length.
    appendBigEndian(chunk, pngCrc(chunk.data() + 4, chunk.size() - 4));
    return chunk;
}

std::vector<std::uint8_t> pngWithoutPixels(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    appendBigEndian(header, width);
    appendBigEndian(header, height);
    // Bit depth 8, colour type 6 (RGBA), compression, filter, no interlace.
    header.insert(header.end(), {8, 6, 0, 0, 0});
    for (const auto& chunk :
         {pngChunk("IHDR", header), pngChunk("IDAT", {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01}),
          pngChunk("IEND", {})})
        file.insert(file.end(), chunk.begin(), chunk.end());
    return file;
}

std::size_t jpegFrameHeaderOffset(const std::vector<std::uint8_t>& jpeg) {
    // Walks the marker segments after SOI; every segment before the frame header has a length.
    std::size_t position = 2;
    while (position + 4 <= jpeg.size() && jpeg[position] == 0xFF) {
        std::uint8_t marker = jpeg[position + 1];
        bool isFrameHeader =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (isFrameHeader)
            return position + 4;
        position += 2 + (std::size_t{jpeg[position + 2]} << 8 | jpeg[position + 3]);
    }
    return 0;
}

} // namespace fixtures
