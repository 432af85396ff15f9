#include "ImageFixtures.h"

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

void writeTransparency(png_structp png, png_infop info, const PngSpec& spec) {
    if (!spec.paletteAlpha.empty()) {
        png_set_tRNS(png, info, spec.paletteAlpha.data(), static_cast<int>(spec.paletteAlpha.size()),
                     nullptr);
    } else if (spec.transparentGrey || spec.transparentRGB) {
        png_color_16 colour{};
        if (spec.transparentGrey)
            colour.gray = *spec.transparentGrey;
        if (spec.transparentRGB) {
            colour.red = spec.transparentRGB->r;
            colour.green = spec.transparentRGB->g;
            colour.blue = spec.transparentRGB->b;
        }
        png_set_tRNS(png, info, nullptr, 0, &colour);
    }
}

bool writePngRows(png_structp png, png_infop info, const PngSpec& spec, png_colorp palette, png_bytepp rows,
                  std::vector<std::uint8_t>* output) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, output, appendBytes, flushNothing);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colorType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!spec.palette.empty())
        png_set_PLTE(png, info, palette, static_cast<int>(spec.palette.size()));
    writeTransparency(png, info, spec);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

std::size_t rowBytes(const PngSpec& spec) {
    int channels = 1;
    if (spec.colorType == PNG_COLOR_TYPE_RGB)
        channels = 3;
    else if (spec.colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        channels = 2;
    else if (spec.colorType == PNG_COLOR_TYPE_RGB_ALPHA)
        channels = 4;
    return (std::size_t{spec.width} * channels * spec.bitDepth + 7) / 8;
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

PngSpec pngSpec(std::uint32_t width, std::uint32_t height, int colorType, int bitDepth, bool interlaced) {
    PngSpec spec;
    spec.width = width;
    spec.height = height;
    spec.colorType = colorType;
    spec.bitDepth = bitDepth;
    spec.interlaced = interlaced;
    return spec;
}

std::vector<std::uint8_t> writePng(const PngSpec& spec) {
    std::vector<std::uint8_t> output;
    std::vector<png_color> palette;
    for (const auto& entry : spec.palette)
        palette.push_back({entry.r, entry.g, entry.b});
    if (spec.rows.size() != rowBytes(spec) * spec.height)
        return {};
    std::vector<png_bytep> rows;
    auto* pixels = const_cast<std::uint8_t*>(spec.rows.data());
    for (std::uint32_t y = 0; y < spec.height; ++y)
        rows.push_back(pixels + y * rowBytes(spec));

    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpOnPngError, ignorePngWarning);
    png_infop info = png_create_info_struct(png);
    bool written = writePngRows(png, info, spec, palette.data(), rows.data(), &output);
    png_destroy_write_struct(&png, &info);
    return written ? output : std::vector<std::uint8_t>{};
}

JpegSpec jpegSpec(std::uint32_t width, std::uint32_t height, int components) {
    JpegSpec spec;
    spec.width = width;
    spec.height = height;
    spec.components = components;
    return spec;
}

std::vector<std::uint8_t> writeJpeg(const JpegSpec& spec) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = spec.width;
    info.image_height = spec.height;
    info.input_components = spec.components;
    info.in_color_space = spec.components == 1 ? JCS_GRAYSCALE : spec.components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, spec.quality, TRUE);
    if (spec.progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    const std::size_t stride = std::size_t{spec.width} * spec.components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<std::uint8_t*>(spec.samples.data()) + info.next_scanline * stride;
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
