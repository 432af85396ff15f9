#include "platform/uikit/PngEncoder.h"

#include <csetjmp>
#include <cstring>
#include <new>
#include <png.h>

namespace platform {

// Errors inside libpng longjmp to the setjmp in writeRows, whose frame (like everything between it
// and libpng) holds only trivially destructible locals; the output and the row buffer live in
// encodeRows's frame.

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

// Calls setjmp. The row writer runs between libpng's calls, never inside one, so a jump out of
// libpng leaves no C++ frame of its own behind.
bool writeRows(PngWriteSession& session, std::vector<std::uint8_t>* output, std::uint32_t width,
               std::uint32_t height, const PngEncoder::RowWriter& writeRow, std::uint8_t* row) {
    png_structp png = session.png;
    png_infop info = session.info;
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, output, appendToOutput, flushNothing);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // The fastest level with the "up" filter (screens repeat row after row) costs a fraction of the
    // default for files about a fifth larger.
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_write_info(png, info);
    for (std::uint32_t y = 0; y < height; ++y) {
        writeRow(y, row);
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    return true;
}

} // namespace

std::vector<std::uint8_t> PngEncoder::encode(const Bitmap& bitmap) {
    if (bitmap.isEmpty())
        return {};
    const std::uint8_t* pixels = bitmap.bytes().data();
    const std::size_t rowBytes = static_cast<std::size_t>(bitmap.width()) * 4;
    return encodeRows(bitmap.width(), bitmap.height(), [&](std::uint32_t y, std::uint8_t* row) {
        std::memcpy(row, pixels + static_cast<std::size_t>(y) * bitmap.stride(), rowBytes);
    });
}

std::vector<std::uint8_t> PngEncoder::encodeRows(std::uint32_t width, std::uint32_t height,
                                                 const RowWriter& writeRow) {
    if (width == 0 || height == 0)
        return {};
    PngWriteSession session;
    if (!session.png || !session.info)
        return {};
    std::vector<std::uint8_t> output;
    std::vector<std::uint8_t> row;
    try {
        row.resize(static_cast<std::size_t>(width) * Bitmap::bytesPerPixel);
    } catch (const std::bad_alloc&) {
        return {};
    }
    if (!writeRows(session, &output, width, height, writeRow, row.data()))
        return {};
    return output;
}

} // namespace platform
