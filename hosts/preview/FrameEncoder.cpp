#include "hosts/preview/FrameEncoder.h"

#include <cairo.h>
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace corvale::preview {

// Errors inside libpng longjmp to the setjmp in writeRows, whose frame holds only trivially
// destructible locals; the output and the row buffer live in encode's frame.

namespace {

void appendToOutput(png_structp png, png_bytep data, png_size_t length) {
    auto* output = static_cast<std::string*>(png_get_io_ptr(png));
    bool outOfMemory = false;
    try {
        output->append(reinterpret_cast<const char*>(data), length);
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
    }
    // Raised only after the handler has finished, so the jump leaves no exception half-handled.
    if (outOfMemory)
        png_error(png, "out of memory");
}

void flushNothing(png_structp) {}

[[noreturn]] void jumpOnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// One row of Cairo's native-endian premultiplied ARGB as RGB bytes.
void convertRow(const unsigned char* source, int width, std::uint8_t* row) {
    for (int x = 0; x < width; ++x, source += 4, row += 3) {
        std::uint32_t word = 0;
        std::memcpy(&word, source, sizeof word);
        row[0] = static_cast<std::uint8_t>(word >> 16);
        row[1] = static_cast<std::uint8_t>(word >> 8);
        row[2] = static_cast<std::uint8_t>(word);
    }
}

struct Pixels {
    const unsigned char* data;
    int stride;
    int width;
    int height;
};

// Calls setjmp.
bool writeRows(png_structp png, png_infop info, std::string* output, const Pixels& pixels,
               std::uint8_t* row) {
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, output, appendToOutput, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(pixels.width), static_cast<png_uint_32>(pixels.height),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // As for the platform's screenshots: zlib's fastest level with the "up" filter, since screens
    // repeat row after row. Measured on the example page, RLE and other filters were slower or larger.
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_write_info(png, info);
    for (int y = 0; y < pixels.height; ++y) {
        convertRow(pixels.data + static_cast<std::ptrdiff_t>(y) * pixels.stride, pixels.width, row);
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    return true;
}

} // namespace

std::string FrameEncoder::encode(const platform::render::Canvas& canvas) {
    cairo_surface_t* surface = cairo_get_target(canvas.context());
    cairo_surface_flush(surface);
    Pixels pixels{cairo_image_surface_get_data(surface), cairo_image_surface_get_stride(surface),
                  canvas.pixelWidth(), canvas.pixelHeight()};
    if (!pixels.data || pixels.width <= 0 || pixels.height <= 0)
        return {};
    std::vector<std::uint8_t> row(static_cast<std::size_t>(pixels.width) * 3);
    std::string output;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpOnError, ignoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool written = info && writeRows(png, info, &output, pixels, row.data());
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return written ? output : std::string();
}

} // namespace corvale::preview
