#include "platform/render/Canvas.h"

#include <cairo.h>

#include <cmath>
#include <cstring>
#include <utility>

#include <cstdio>
#include <fstream>

#include "platform/uikit/PngEncoder.h"

namespace platform::render {

namespace {

constexpr int largestCairoSide = 32767;
// Large enough for an iPad Pro screen at 4x; refuses sizes that would exhaust memory.
constexpr double pixelCap = 64.0 * 1024 * 1024;
constexpr double smallestScale = 0.25;
constexpr double largestScale = 8;

std::uint8_t unpremultiplied(std::uint32_t channel, std::uint32_t alpha) {
    return static_cast<std::uint8_t>((channel * 255 + alpha / 2) / alpha);
}

RGBA straightPixel(const unsigned char* data, int stride, int x, int y) {
    std::uint32_t word = 0;
    std::memcpy(&word, data + static_cast<std::ptrdiff_t>(y) * stride + static_cast<std::ptrdiff_t>(x) * 4,
                sizeof word);
    std::uint32_t alpha = word >> 24;
    if (alpha == 0)
        return {};
    return {unpremultiplied((word >> 16) & 0xff, alpha), unpremultiplied((word >> 8) & 0xff, alpha),
            unpremultiplied(word & 0xff, alpha), static_cast<std::uint8_t>(alpha)};
}

// One row of the surface as straight-alpha RGBA bytes.
void copyStraightRow(const unsigned char* data, int stride, int width, int y, std::uint8_t* out) {
    for (int x = 0; x < width; ++x, out += 4) {
        RGBA pixel = straightPixel(data, stride, x, y);
        out[0] = pixel.r;
        out[1] = pixel.g;
        out[2] = pixel.b;
        out[3] = pixel.a;
    }
}

bool writeHostFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string* error) {
    std::string temporary = path + ".partial";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            if (error)
                *error = "cannot write " + path;
            return false;
        }
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            if (error)
                *error = "cannot write " + path;
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        if (error)
            *error = "cannot write " + path;
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace

std::optional<Canvas> Canvas::create(CGSize sizeInPoints, double scale) {
    if (!(scale >= smallestScale && scale <= largestScale))
        return std::nullopt;
    if (!(std::isfinite(sizeInPoints.width) && std::isfinite(sizeInPoints.height)))
        return std::nullopt;
    double width = std::ceil(sizeInPoints.width * scale - 1e-6);
    double height = std::ceil(sizeInPoints.height * scale - 1e-6);
    if (!(width >= 1 && height >= 1) || width > largestCairoSide || height > largestCairoSide ||
        width * height > pixelCap)
        return std::nullopt;
    auto* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(width), static_cast<int>(height));
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return std::nullopt;
    }
    auto* context = cairo_create(surface);
    if (cairo_status(context) != CAIRO_STATUS_SUCCESS) {
        cairo_destroy(context);
        cairo_surface_destroy(surface);
        return std::nullopt;
    }
    cairo_scale(context, scale, scale);
    return Canvas(surface, context, static_cast<int>(width), static_cast<int>(height), scale, sizeInPoints);
}

Canvas::Canvas(cairo_surface_t* surface, cairo_t* context, int width, int height, double scale, CGSize size)
    : m_surface(surface), m_context(context), m_pixelWidth(width), m_pixelHeight(height), m_scale(scale),
      m_size(size) {}

Canvas::Canvas(Canvas&& other) noexcept
    : m_surface(std::exchange(other.m_surface, nullptr)), m_context(std::exchange(other.m_context, nullptr)),
      m_pixelWidth(other.m_pixelWidth), m_pixelHeight(other.m_pixelHeight), m_scale(other.m_scale),
      m_size(other.m_size) {}

Canvas& Canvas::operator=(Canvas&& other) noexcept {
    if (this != &other) {
        release();
        m_surface = std::exchange(other.m_surface, nullptr);
        m_context = std::exchange(other.m_context, nullptr);
        m_pixelWidth = other.m_pixelWidth;
        m_pixelHeight = other.m_pixelHeight;
        m_scale = other.m_scale;
        m_size = other.m_size;
    }
    return *this;
}

Canvas::~Canvas() {
    release();
}

void Canvas::release() {
    if (m_context)
        cairo_destroy(m_context);
    if (m_surface)
        cairo_surface_destroy(m_surface);
    m_context = nullptr;
    m_surface = nullptr;
}

RGBA Canvas::pixelAt(int x, int y) const {
    if (!m_surface || x < 0 || y < 0 || x >= m_pixelWidth || y >= m_pixelHeight)
        return {};
    cairo_surface_flush(m_surface);
    return straightPixel(cairo_image_surface_get_data(m_surface), cairo_image_surface_get_stride(m_surface),
                         x, y);
}

RGBA Canvas::pixelAtPoint(CGPoint point) const {
    return pixelAt(static_cast<int>(std::floor(point.x * m_scale)),
                   static_cast<int>(std::floor(point.y * m_scale)));
}

bool Canvas::hasSamePixels(const Canvas& other) const {
    if (!m_surface || !other.m_surface || m_pixelWidth != other.m_pixelWidth ||
        m_pixelHeight != other.m_pixelHeight)
        return false;
    cairo_surface_flush(m_surface);
    cairo_surface_flush(other.m_surface);
    const unsigned char* mine = cairo_image_surface_get_data(m_surface);
    const unsigned char* theirs = cairo_image_surface_get_data(other.m_surface);
    const int myStride = cairo_image_surface_get_stride(m_surface);
    const int theirStride = cairo_image_surface_get_stride(other.m_surface);
    // Only the pixels: the padding at the end of a row is never drawn.
    const auto rowBytes = static_cast<std::size_t>(m_pixelWidth) * 4;
    for (int y = 0; y < m_pixelHeight; ++y)
        if (std::memcmp(mine + static_cast<std::ptrdiff_t>(y) * myStride,
                        theirs + static_cast<std::ptrdiff_t>(y) * theirStride, rowBytes) != 0)
            return false;
    return true;
}

Bitmap Canvas::toBitmap() const {
    auto bitmap =
        Bitmap::allocate(static_cast<std::uint32_t>(m_pixelWidth), static_cast<std::uint32_t>(m_pixelHeight));
    if (!bitmap)
        return {};
    cairo_surface_flush(m_surface);
    const unsigned char* data = cairo_image_surface_get_data(m_surface);
    int stride = cairo_image_surface_get_stride(m_surface);
    for (int y = 0; y < m_pixelHeight; ++y)
        copyStraightRow(data, stride, m_pixelWidth, y,
                        bitmap->mutableBytes() + static_cast<std::size_t>(y) * bitmap->stride());
    return std::move(*bitmap);
}

bool Canvas::writePNG(const std::string& path, std::string* error) const {
    // Row by row from the surface: no straight-alpha copy of the whole canvas.
    cairo_surface_flush(m_surface);
    const unsigned char* data = cairo_image_surface_get_data(m_surface);
    const int stride = cairo_image_surface_get_stride(m_surface);
    auto bytes = PngEncoder::encodeRows(
        static_cast<std::uint32_t>(m_pixelWidth), static_cast<std::uint32_t>(m_pixelHeight),
        [&](std::uint32_t y, std::uint8_t* row) {
            copyStraightRow(data, stride, m_pixelWidth, static_cast<int>(y), row);
        });
    if (bytes.empty()) {
        if (error)
            *error = "cannot encode the picture as PNG";
        return false;
    }
    return writeHostFile(path, bytes, error);
}

} // namespace platform::render
