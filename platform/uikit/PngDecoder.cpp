#include "platform/uikit/PngDecoder.h"

#include <csetjmp>
#include <cstring>
#include <new>
#include <png.h>
#include <vector>

namespace platform {

// libpng reports errors by longjmp to the setjmp in the caller's frame. The functions that call
// setjmp, and everything between them and libpng, hold only trivially destructible locals, so no
// destructor is skipped by the jump; C++ objects (the bitmap, the row table) live in decode's frame.

namespace {

struct MemoryInput {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t offset = 0;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* input = static_cast<MemoryInput*>(png_get_io_ptr(png));
    if (length > input->size - input->offset)
        png_error(png, "PNG data ends early");
    std::memcpy(out, input->data + input->offset, length);
    input->offset += length;
}

// Jumps back without libpng's default message on stderr: a broken image is an expected input.
[[noreturn]] void jumpOnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// Owns libpng's structures for one decode.
struct PngReadSession {
    png_structp png = nullptr;
    png_infop info = nullptr;
    MemoryInput input;

    PngReadSession() {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpOnError, ignoreWarning);
        if (png)
            info = png_create_info_struct(png);
    }
    ~PngReadSession() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
    PngReadSession(const PngReadSession&) = delete;
    PngReadSession& operator=(const PngReadSession&) = delete;
};

// Asks libpng for 8-bit RGBA whatever the file holds.
void requestRGBA8(png_structp png, png_infop info) {
    const int colorType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    const bool hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (hasTransparency)
        png_set_tRNS_to_alpha(png);
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if ((colorType & PNG_COLOR_MASK_ALPHA) == 0 && !hasTransparency)
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
}

// Reads up to the image data and checks the announced size against the limits. Calls setjmp.
bool readHeader(PngReadSession& session, const ImageLimits& limits) {
    png_structp png = session.png;
    png_infop info = session.info;
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, &session.input, readFromMemory);
    // libpng's own size check, so it refuses an oversized IHDR as soon as it reads it.
    png_set_user_limits(png, limits.maxSide, limits.maxSide);
    png_read_info(png, info);
    if (!limits.allows(png_get_image_width(png, info), png_get_image_height(png, info)))
        return false;
    requestRGBA8(png, info);
    png_read_update_info(png, info);
    return png_get_bit_depth(png, info) == 8 && png_get_channels(png, info) == 4 &&
           png_get_rowbytes(png, info) == png_get_image_width(png, info) * Bitmap::bytesPerPixel;
}

// Decodes every row (every pass, for interlaced images). Calls setjmp.
bool readRows(PngReadSession& session, png_bytepp rows) {
    png_structp png = session.png;
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_image(png, rows);
    return true;
}

} // namespace

std::optional<Bitmap> PngDecoder::decode(std::span<const std::uint8_t> bytes, const ImageLimits& limits) {
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0)
        return std::nullopt;
    PngReadSession session;
    if (!session.png || !session.info)
        return std::nullopt;
    session.input = {bytes.data(), bytes.size(), 0};
    if (!readHeader(session, limits))
        return std::nullopt;

    auto bitmap = Bitmap::allocate(png_get_image_width(session.png, session.info),
                                   png_get_image_height(session.png, session.info));
    if (!bitmap)
        return std::nullopt;
    std::vector<png_bytep> rows;
    try {
        rows.resize(bitmap->height());
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    for (std::uint32_t y = 0; y < bitmap->height(); ++y)
        rows[y] = bitmap->mutableBytes() + y * bitmap->stride();
    if (!readRows(session, rows.data()))
        return std::nullopt;
    return bitmap;
}

} // namespace platform
