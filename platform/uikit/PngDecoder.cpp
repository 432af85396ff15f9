#include "platform/uikit/PngDecoder.h"

#include <csetjmp>
#include <cstring>
#include <new>
#include <png.h>

#include "platform/uikit/AreaReducer.h"
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

// Asks libpng for 8-bit RGBA whatever the file holds. Interlaced files come whole, or pass by pass.
void requestRGBA8(png_structp png, png_infop info, bool wholeRows) {
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
    if (wholeRows)
        png_set_interlace_handling(png);
}

// Reads up to the image data and checks the announced size against the limits. Calls setjmp.
bool readHeader(PngReadSession& session, const ImageLimits& limits, bool wholeRows) {
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
    requestRGBA8(png, info, wholeRows);
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

// Reads every row into `row`, one at a time, and adds it to the reducer; an interlaced file pass by
// pass, each pass's pixels at their place in the picture. Calls setjmp.
bool reduceRows(PngReadSession& session, png_bytep row, AreaReducer& reducer) {
    png_structp png = session.png;
    png_infop info = session.info;
    if (setjmp(png_jmpbuf(png)))
        return false;
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (png_get_interlace_type(png, info) == PNG_INTERLACE_NONE) {
        for (png_uint_32 y = 0; y < height; ++y) {
            png_read_row(png, row, nullptr);
            reducer.addPixels(y, row, width);
        }
        return true;
    }
    for (int pass = 0; pass < 7; ++pass) {
        const png_uint_32 columns = PNG_PASS_COLS(width, pass);
        const png_uint_32 rows = PNG_PASS_ROWS(height, pass);
        // libpng skips a pass that holds no pixels.
        if (columns == 0 || rows == 0)
            continue;
        for (png_uint_32 passRow = 0; passRow < rows; ++passRow) {
            png_read_row(png, row, nullptr);
            reducer.addPixels(PNG_ROW_FROM_PASS_ROW(passRow, pass), row, columns, PNG_PASS_START_COL(pass),
                              PNG_PASS_COL_OFFSET(pass));
        }
    }
    return true;
}

bool startSession(PngReadSession& session, std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0 || !session.png || !session.info)
        return false;
    session.input = {bytes.data(), bytes.size(), 0};
    return true;
}

PixelSize sizeOf(const PngReadSession& session) {
    return {png_get_image_width(session.png, session.info), png_get_image_height(session.png, session.info)};
}

} // namespace

std::optional<DecodedPicture> PngDecoder::decode(std::span<const std::uint8_t> bytes,
                                                 const ImageReduction& reduction, const ImageLimits& limits) {
    PngReadSession session;
    if (!startSession(session, bytes) || !readHeader(session, limits, false))
        return std::nullopt;
    const PixelSize source = sizeOf(session);
    if (!reduction.reduces(source)) {
        auto whole = decode(bytes, limits);
        if (!whole)
            return std::nullopt;
        return DecodedPicture{std::move(*whole), source};
    }
    auto reducer = AreaReducer::create(source, reduction.reducedSize(source));
    if (!reducer)
        return std::nullopt;
    std::vector<png_byte> row;
    try {
        row.resize(std::size_t{source.width} * Bitmap::bytesPerPixel);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    if (!reduceRows(session, row.data(), *reducer))
        return std::nullopt;
    auto bitmap = reducer->result();
    if (!bitmap)
        return std::nullopt;
    return DecodedPicture{std::move(*bitmap), source};
}

std::optional<Bitmap> PngDecoder::decode(std::span<const std::uint8_t> bytes, const ImageLimits& limits) {
    PngReadSession session;
    if (!startSession(session, bytes) || !readHeader(session, limits, true))
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
