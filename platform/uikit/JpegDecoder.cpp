#include "platform/uikit/JpegDecoder.h"

// jpeglib.h needs size_t and FILE declared first, and jerror.h needs jpeglib.h.
#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <jerror.h>

namespace platform {

// libjpeg reports errors through error_exit, which must not return: ours longjmps back to the
// setjmp in the caller's frame. Those frames hold only trivially destructible locals, so the jump
// skips no destructor; the bitmap lives in decode's frame.

namespace {

struct JpegErrorManager {
    jpeg_error_mgr base; // first, so libjpeg's pointer to it is a pointer to the whole
    std::jmp_buf jump;
};

[[noreturn]] void jumpOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->jump, 1);
}

// Warnings that mean the image data is missing or damaged; the rest (extraneous bytes between
// markers, an unknown JFIF version) leave a good image and are tolerated.
bool isDamageWarning(int code) {
    switch (code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_BOGUS_PROGRESSION:
        return true;
    default:
        return false;
    }
}

void onMessage(j_common_ptr info, int level) {
    if (level < 0 && isDamageWarning(info->err->msg_code))
        jumpOnError(info);
}

void ignoreOutput(j_common_ptr) {}

// Owns the decompressor for one decode. libjpeg's structures are plain C data, and destroying a
// zeroed or partly created decompressor is safe.
struct JpegReadSession {
    jpeg_decompress_struct info{};
    JpegErrorManager error{};
    bool isCMYK = false;

    JpegReadSession() {
        info.err = jpeg_std_error(&error.base);
        error.base.error_exit = jumpOnError;
        error.base.emit_message = onMessage;
        error.base.output_message = ignoreOutput;
    }
    ~JpegReadSession() { jpeg_destroy_decompress(&info); }
    JpegReadSession(const JpegReadSession&) = delete;
    JpegReadSession& operator=(const JpegReadSession&) = delete;
};

// RGBA straight from libjpeg-turbo for grey, YCbCr and RGB; CMYK is converted afterwards.
bool chooseOutputColorSpace(JpegReadSession& session) {
    switch (session.info.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
        session.info.out_color_space = JCS_EXT_RGBA;
        return true;
    case JCS_CMYK:
    case JCS_YCCK:
        session.info.out_color_space = JCS_CMYK;
        session.isCMYK = true;
        return true;
    default:
        return false;
    }
}

// Reads the markers up to the first scan and checks the size against the limits. Calls setjmp.
bool readHeader(JpegReadSession& session, std::span<const std::uint8_t> bytes, const ImageLimits& limits) {
    j_decompress_ptr info = &session.info;
    if (setjmp(session.error.jump))
        return false;
    jpeg_create_decompress(info);
    jpeg_mem_src(info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK)
        return false;
    if (!limits.allows(info->image_width, info->image_height) || !chooseOutputColorSpace(session))
        return false;
    jpeg_calc_output_dimensions(info);
    return info->output_components == 4 && limits.allows(info->output_width, info->output_height);
}

// Decodes every scanline into `pixels`. Calls setjmp.
bool readScanlines(JpegReadSession& session, std::uint8_t* pixels, std::size_t stride) {
    j_decompress_ptr info = &session.info;
    if (setjmp(session.error.jump))
        return false;
    jpeg_start_decompress(info);
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = pixels + std::size_t{info->output_scanline} * stride;
        // The memory source never suspends, so no progress means the decoder is stuck.
        if (jpeg_read_scanlines(info, &row, 1) != 1)
            return false;
    }
    return true;
}

std::uint8_t multiplyComponents(unsigned lhs, unsigned rhs) {
    return static_cast<std::uint8_t>((lhs * rhs + 127) / 255);
}

// In place: each pixel's four bytes go from C, M, Y, K to R, G, B, opaque alpha.
void convertCMYKToRGBA(Bitmap& bitmap, bool inverted) {
    std::uint8_t* pixel = bitmap.mutableBytes();
    std::uint8_t* end = pixel + bitmap.bytes().size();
    for (; pixel != end; pixel += Bitmap::bytesPerPixel) {
        // Ink amounts as "how much light is left": 255 is no ink.
        unsigned cyan = inverted ? pixel[0] : 255u - pixel[0];
        unsigned magenta = inverted ? pixel[1] : 255u - pixel[1];
        unsigned yellow = inverted ? pixel[2] : 255u - pixel[2];
        unsigned black = inverted ? pixel[3] : 255u - pixel[3];
        pixel[0] = multiplyComponents(cyan, black);
        pixel[1] = multiplyComponents(magenta, black);
        pixel[2] = multiplyComponents(yellow, black);
        pixel[3] = 0xFF;
    }
}

} // namespace

std::optional<Bitmap> JpegDecoder::decode(std::span<const std::uint8_t> bytes, const ImageLimits& limits) {
    if (bytes.size() < 3 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return std::nullopt;
    JpegReadSession session;
    if (!readHeader(session, bytes, limits))
        return std::nullopt;
    auto bitmap = Bitmap::allocate(session.info.output_width, session.info.output_height);
    if (!bitmap)
        return std::nullopt;
    if (!readScanlines(session, bitmap->mutableBytes(), bitmap->stride()))
        return std::nullopt;
    if (session.isCMYK)
        convertCMYKToRGBA(*bitmap, session.info.saw_Adobe_marker);
    return bitmap;
}

} // namespace platform
