#include "platform/uikit/PngEncoder.h"

#include <csetjmp>
#include <new>
#include <png.h>

namespace platform {

// Errors inside libpng longjmp to the setjmp in writeImage, whose frame (like everything between it
// and libpng) holds only trivially destructible locals; the output and the row table live in
// encode's frame.

namespace {

void appendToOutput(png_structp png, png_bytep data, png_size_t length) {
    auto* output = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    bool outOfMemory = false;
    try {
        output->insert(output->end(), data, data + length);
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

struct PngWriteSession {
    png_structp png = nullptr;
    png_infop info = nullptr;

    PngWriteSession() {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpOnError, ignoreWarning);
        if (png)
            info = png_create_info_struct(png);
    }
    ~PngWriteSession() { png_destroy_write_struct(&png, info ? &info : nullptr); }
    PngWriteSession(const PngWriteSession&) = delete;
    PngWriteSession& operator=(const PngWriteSession&) = delete;
};

// Calls setjmp.
bool writeImage(PngWriteSession& session, std::vector<std::uint8_t>* output, const Bitmap& bitmap,
                png_bytepp rows) {
    png_structp png = session.png;
    png_infop info = session.info;
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, output, appendToOutput, flushNothing);
    png_set_IHDR(png, info, bitmap.width(), bitmap.height(), 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Pictures of screens are written often and read rarely: zlib's fastest level with the "up" filter
    // (screens repeat row after row) costs a fraction of the default for files about a fifth larger.
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

} // namespace

std::vector<std::uint8_t> PngEncoder::encode(const Bitmap& bitmap) {
    if (bitmap.isEmpty())
        return {};
    PngWriteSession session;
    if (!session.png || !session.info)
        return {};
    std::vector<std::uint8_t> output;
    std::vector<png_bytep> rows;
    try {
        rows.resize(bitmap.height());
    } catch (const std::bad_alloc&) {
        return {};
    }
    // libpng reads the rows only; its interface just is not const-correct.
    auto* pixels = const_cast<std::uint8_t*>(bitmap.bytes().data());
    for (std::uint32_t y = 0; y < bitmap.height(); ++y)
        rows[y] = pixels + y * bitmap.stride();
    if (!writeImage(session, &output, bitmap, rows.data()))
        return {};
    return output;
}

} // namespace platform
