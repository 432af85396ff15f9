#include "hosts/preview/FrameEncoder.h"

#include <cairo.h>

#include <cstdint>
#include <cstring>

#include "platform/foundation/SimulatedDevice.h"
#include "platform/render/ScreenRenderer.h"
#include "platform/uikit/PngEncoder.h"
#include "platform/uikit/UIWindow.h"

namespace corvale::preview {

namespace {

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

} // namespace

std::string FrameEncoder::encode(const platform::render::Canvas& canvas) {
    cairo_surface_t* surface = cairo_get_target(canvas.context());
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const int width = canvas.pixelWidth();
    const int height = canvas.pixelHeight();
    if (!data || width <= 0 || height <= 0)
        return {};
    auto bytes = platform::PngEncoder::encodeRows(
        static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), platform::PngEncoder::Channels::RGB,
        [&](std::uint32_t y, std::uint8_t* row) {
            convertRow(data + static_cast<std::ptrdiff_t>(y) * stride, width, row);
        });
    return std::string(bytes.begin(), bytes.end());
}

std::string FrameEncoder::encodeWindow(UIWindow& window) {
    auto canvas = platform::render::renderWindow(window, platform::SimulatedDevice::screenScale());
    return canvas ? encode(*canvas) : std::string();
}

} // namespace corvale::preview
