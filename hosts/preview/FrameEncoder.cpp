#include "hosts/preview/FrameEncoder.h"

#include <cairo.h>
// jpeglib.h needs FILE and size_t declared before it.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace corvale::preview {

// Errors inside libjpeg longjmp to the setjmp in compressRows, whose frame holds only trivially
// destructible locals; the compressor and its output buffer are released by JpegWriteSession.

namespace {

// Cairo's ARGB32 is a native-endian word, so its bytes are B, G, R, A on little-endian machines.
constexpr J_COLOR_SPACE cairoColourSpace =
    __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? JCS_EXT_BGRX : JCS_EXT_XRGB;

struct ErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void jumpOnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1);
}

void ignoreMessage(j_common_ptr) {}

struct JpegWriteSession {
    jpeg_compress_struct info{};
    ErrorJump error{};
    unsigned char* output = nullptr;
    unsigned long outputSize = 0;

    JpegWriteSession() {
        info.err = jpeg_std_error(&error.manager);
        error.manager.error_exit = jumpOnError;
        error.manager.output_message = ignoreMessage;
    }
    ~JpegWriteSession() {
        jpeg_destroy_compress(&info);
        std::free(output);
    }
    JpegWriteSession(const JpegWriteSession&) = delete;
    JpegWriteSession& operator=(const JpegWriteSession&) = delete;
};

bool compressRows(JpegWriteSession& session, const unsigned char* data, int stride, int width, int height) {
    jpeg_compress_struct* info = &session.info;
    if (setjmp(session.error.jump))
        return false;
    jpeg_create_compress(info);
    jpeg_mem_dest(info, &session.output, &session.outputSize);
    info->image_width = static_cast<JDIMENSION>(width);
    info->image_height = static_cast<JDIMENSION>(height);
    info->input_components = 4;
    info->in_color_space = cairoColourSpace;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, FrameEncoder::quality, TRUE);
    // Full chroma: halved chroma smears red text and one-pixel coloured separators.
    info->comp_info[0].h_samp_factor = 1;
    info->comp_info[0].v_samp_factor = 1;
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        // libjpeg takes rows as non-const, but only reads them.
        auto* row = const_cast<JSAMPLE*>(data + static_cast<std::ptrdiff_t>(info->next_scanline) * stride);
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
    return true;
}

} // namespace

std::string FrameEncoder::encode(const platform::render::Canvas& canvas) {
    cairo_surface_t* surface = cairo_get_target(canvas.context());
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int width = canvas.pixelWidth();
    const int height = canvas.pixelHeight();
    if (!data || width <= 0 || height <= 0 || cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32)
        return {};
    JpegWriteSession session;
    if (!compressRows(session, data, cairo_image_surface_get_stride(surface), width, height))
        return {};
    return std::string(reinterpret_cast<const char*>(session.output), session.outputSize);
}

} // namespace corvale::preview
