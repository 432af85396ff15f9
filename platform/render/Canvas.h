#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/uikit/Bitmap.h"
#include "platform/uikit/CGGeometry.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace platform::render {

// An in-memory drawing surface in pixels, with a Cairo context whose user space is in points
// (scaled by `scale`). Starts fully transparent. Move-only.
class Canvas {
public:
    // Nothing when the size is not positive and finite, the scale is not in 0.25...8, or the pixel
    // size would pass Cairo's limit or the pixel cap.
    static std::optional<Canvas> create(CGSize sizeInPoints, double scale);

    Canvas(Canvas&&) noexcept;
    Canvas& operator=(Canvas&&) noexcept;
    ~Canvas();

    int pixelWidth() const { return m_pixelWidth; }
    int pixelHeight() const { return m_pixelHeight; }
    double scale() const { return m_scale; }
    CGSize sizeInPoints() const { return m_size; }
    // The context drawing goes through; its state is balanced by whoever draws.
    cairo_t* context() const { return m_context; }

    // Straight (unpremultiplied) colour of a pixel; transparent black outside the canvas.
    RGBA pixelAt(int x, int y) const;
    // The pixel that covers the middle of a point given in points.
    RGBA pixelAtPoint(CGPoint point) const;
    // A straight-alpha copy of every pixel.
    Bitmap toBitmap() const;
    // Whether both are the same size with every pixel the same (a frame that need not be sent again).
    bool hasSamePixels(const Canvas& other) const;
    // Writes a PNG at a host path (atomically: a temporary file beside it, then rename).
    bool writePNG(const std::string& path, std::string* error) const;

private:
    Canvas(cairo_surface_t* surface, cairo_t* context, int width, int height, double scale, CGSize size);
    void release();

    cairo_surface_t* m_surface = nullptr;
    cairo_t* m_context = nullptr;
    int m_pixelWidth = 0;
    int m_pixelHeight = 0;
    double m_scale = 1;
    CGSize m_size;
};

} // namespace platform::render
