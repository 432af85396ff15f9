#include "platform/uikit/JpegDecoder.h"

// jpeglib.h needs size_t and FILE declared first, and jerror.h needs jpeglib.h.
#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <jerror.h>

#include <algorithm>
#include <new>
#include <vector>

#include "platform/uikit/AreaReducer.h"

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
    jpeg_progress_mgr progress{};
    int maxScans = 0;
    bool isCMYK = false;

    JpegReadSession() {
        info.err = jpeg_std_error(&error.base);
        error.base.error_exit = jumpOnError;
        error.base.emit_message = onMessage;
        error.base.output_message = ignoreOutput;
        info.client_data = this;
    }
    ~JpegReadSession() { jpeg_destroy_decompress(&info); }
    JpegReadSession(const JpegReadSession&) = delete;
    JpegReadSession& operator=(const JpegReadSession&) = delete;
};

// Called by libjpeg as it works through the data: a file with more scans than any encoder writes is
// given up at the first scan past the limit, before it costs more passes over the picture.
void limitScans(j_common_ptr common) {
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    auto* session = static_cast<JpegReadSession*>(info->client_data);
    if (info->input_scan_number > session->maxScans)
        jumpOnError(common);
}

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

// An upper bound on the file's scans, counted in one pass without decoding: entropy-coded data never
// holds 0xFF followed by a start-of-scan code (a data 0xFF is followed by 0x00 or a restart code), so
// only real scans and bytes inside metadata count. A file of too many scans is refused before libjpeg
// spends a pass over the picture on each of the first hundred.
std::size_t scanMarkersIn(std::span<const std::uint8_t> bytes) {
    std::size_t scans = 0;
    for (std::size_t index = 0; index + 1 < bytes.size(); ++index)
        scans += bytes[index] == 0xFF && bytes[index + 1] == 0xDA;
    return scans;
}

// Reads the markers up to the first scan and checks the size against the limits. Calls setjmp.
bool readHeader(JpegReadSession& session, std::span<const std::uint8_t> bytes, const ImageLimits& limits) {
    if (scanMarkersIn(bytes) > static_cast<std::size_t>(std::max(limits.maxScans, 0)))
        return false;
    j_decompress_ptr info = &session.info;
    if (setjmp(session.error.jump))
        return false;
    jpeg_create_decompress(info);
    info->mem->max_memory_to_use = limits.maxDecoderMemory;
    session.maxScans = limits.maxScans;
    session.progress.progress_monitor = limitScans;
    info->progress = &session.progress;
    jpeg_mem_src(info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK)
        return false;
    if (!limits.allows(info->image_width, info->image_height) || !chooseOutputColorSpace(session))
        return false;
    jpeg_calc_output_dimensions(info);
    return info->output_components == 4 && limits.allows(info->output_width, info->output_height);
}

std::uint8_t multiplyComponents(unsigned lhs, unsigned rhs) {
    return static_cast<std::uint8_t>((lhs * rhs + 127) / 255);
}

// In place: each pixel's four bytes go from C, M, Y, K to R, G, B, opaque alpha.
void convertCMYKToRGBA(std::uint8_t* pixel, std::uint8_t* end, bool inverted) {
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

// The smallest eighth-step scale whose output still covers `wanted`. Calls setjmp.
bool chooseScale(JpegReadSession& session, PixelSize wanted) {
    j_decompress_ptr info = &session.info;
    if (setjmp(session.error.jump))
        return false;
    const PixelSize source{info->image_width, info->image_height};
    unsigned eighths = 1;
    while (eighths < 8 && (std::uint64_t{source.width} * eighths < std::uint64_t{wanted.width} * 8 ||
                           std::uint64_t{source.height} * eighths < std::uint64_t{wanted.height} * 8))
        ++eighths;
    info->scale_num = eighths;
    info->scale_denom = 8;
    jpeg_calc_output_dimensions(info);
    return info->output_width >= wanted.width && info->output_height >= wanted.height;
}

// Decodes every scanline into `row` in turn and adds it to the reducer; CMYK is converted first.
// Calls setjmp.
bool reduceScanlines(JpegReadSession& session, std::uint8_t* row, AreaReducer& reducer) {
    j_decompress_ptr info = &session.info;
    if (setjmp(session.error.jump))
        return false;
    jpeg_start_decompress(info);
    while (info->output_scanline < info->output_height) {
        const JDIMENSION y = info->output_scanline;
        JSAMPROW rows[1] = {row};
        if (jpeg_read_scanlines(info, rows, 1) != 1)
            return false;
        if (session.isCMYK)
            convertCMYKToRGBA(row, row + std::size_t{info->output_width} * Bitmap::bytesPerPixel,
                              info->saw_Adobe_marker);
        reducer.addPixels(y, row, info->output_width);
    }
    return true;
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
        convertCMYKToRGBA(bitmap->mutableBytes(), bitmap->mutableBytes() + bitmap->bytes().size(),
                          session.info.saw_Adobe_marker);
    return bitmap;
}

std::optional<DecodedPicture> JpegDecoder::decode(std::span<const std::uint8_t> bytes,
                                                  const ImageReduction& reduction, const ImageLimits& limits) {
    if (bytes.size() < 3 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return std::nullopt;
    JpegReadSession session;
    if (!readHeader(session, bytes, limits))
        return std::nullopt;
    const PixelSize source{session.info.image_width, session.info.image_height};
    if (!reduction.reduces(source)) {
        auto whole = decode(bytes, limits);
        if (!whole)
            return std::nullopt;
        return DecodedPicture{std::move(*whole), source};
    }
    const PixelSize wanted = reduction.reducedSize(source);
    if (!chooseScale(session, wanted))
        return std::nullopt;
    auto reducer = AreaReducer::create({session.info.output_width, session.info.output_height}, wanted);
    if (!reducer)
        return std::nullopt;
    std::vector<std::uint8_t> row;
    try {
        row.resize(std::size_t{session.info.output_width} * Bitmap::bytesPerPixel);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    if (!reduceScanlines(session, row.data(), *reducer))
        return std::nullopt;
    auto bitmap = reducer->result();
    if (!bitmap)
        return std::nullopt;
    return DecodedPicture{std::move(*bitmap), source};
}

} // namespace platform
