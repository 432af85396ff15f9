#include "platform/render/ShadowPainter.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "platform/render/ImageSurface.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"

namespace platform::render {

namespace {

// One horizontal then one vertical running-sum pass of a box of 2 * radius + 1 over 8-bit coverage.
void boxBlur(std::vector<std::uint8_t>& pixels, int width, int height, int stride, int radius) {
    if (radius <= 0)
        return;
    std::vector<std::uint8_t> line(static_cast<std::size_t>(std::max(width, height)));
    int window = 2 * radius + 1;
    auto blurLine = [&](int count, const std::function<std::uint8_t&(int)>& at) {
        for (int i = 0; i < count; ++i)
            line[static_cast<std::size_t>(i)] = at(i);
        int sum = 0;
        for (int i = -radius; i <= radius; ++i)
            sum += (i >= 0 && i < count) ? line[static_cast<std::size_t>(i)] : 0;
        for (int i = 0; i < count; ++i) {
            at(i) = static_cast<std::uint8_t>(sum / window);
            int leaving = i - radius, entering = i + radius + 1;
            if (leaving >= 0)
                sum -= line[static_cast<std::size_t>(leaving)];
            if (entering < count)
                sum += line[static_cast<std::size_t>(entering)];
        }
    };
    for (int y = 0; y < height; ++y)
        blurLine(width, [&](int x) -> std::uint8_t& {
            return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(stride) +
                          static_cast<std::size_t>(x)];
        });
    for (int x = 0; x < width; ++x)
        blurLine(height, [&](int y) -> std::uint8_t& {
            return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(stride) +
                          static_cast<std::size_t>(x)];
        });
}

double deviceScaleOf(cairo_t* cr) {
    cairo_matrix_t matrix;
    cairo_get_matrix(cr, &matrix);
    return std::max(std::sqrt(std::fabs(matrix.xx * matrix.yy - matrix.xy * matrix.yx)), 0.01);
}

// Draws the blurred shape: `shape` paints the coverage in bounds coordinates.
void paintBlurred(const DrawingContext& context, const CALayer& layer, CGRect bounds,
                  const std::function<void(cairo_t*)>& shape) {
    cairo_t* cr = context.cairo();
    DrawColor color = context.resolve(layer.shadowColor() ? layer.shadowColor() : UIColor::blackColor());
    double opacity = std::clamp(static_cast<double>(layer.shadowOpacity()), 0.0, 1.0) * color.alpha;
    if (opacity <= 0 || bounds.size.width <= 0 || bounds.size.height <= 0)
        return;
    double scale = deviceScaleOf(cr);
    // Three box passes of this radius come close to a Gaussian of half the shadow radius.
    double sigma = layer.shadowRadius() / 2 * scale;
    int boxRadius = static_cast<int>(std::lround(std::sqrt(sigma * sigma + 1) - 1 + sigma * 0.5));
    double padding = 3.0 * (boxRadius + 1) / scale;
    int width = static_cast<int>(std::ceil((bounds.size.width + 2 * padding) * scale));
    int height = static_cast<int>(std::ceil((bounds.size.height + 2 * padding) * scale));
    if (width <= 0 || height <= 0 || double(width) * height > 32.0 * 1024 * 1024)
        return;
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    if (cairo_surface_status(mask) == CAIRO_STATUS_SUCCESS) {
        cairo_t* maskContext = cairo_create(mask);
        cairo_scale(maskContext, scale, scale);
        cairo_translate(maskContext, padding - bounds.origin.x, padding - bounds.origin.y);
        shape(maskContext);
        cairo_destroy(maskContext);
        cairo_surface_flush(mask);
        int stride = cairo_image_surface_get_stride(mask);
        std::vector<std::uint8_t> pixels(cairo_image_surface_get_data(mask),
                                         cairo_image_surface_get_data(mask) +
                                             static_cast<std::size_t>(stride) * height);
        for (int pass = 0; pass < 3; ++pass)
            boxBlur(pixels, width, height, stride, boxRadius);
        std::copy(pixels.begin(), pixels.end(), cairo_image_surface_get_data(mask));
        cairo_surface_mark_dirty(mask);

        SavedState saved(cr);
        CGSize offset = layer.shadowOffset();
        cairo_translate(cr, bounds.origin.x - padding + offset.width,
                        bounds.origin.y - padding + offset.height);
        cairo_scale(cr, 1 / scale, 1 / scale);
        context.setSource(color.withAlpha(opacity));
        cairo_mask_surface(cr, mask, 0, 0);
    }
    cairo_surface_destroy(mask);
}

} // namespace

void ShadowPainter::paint(const DrawingContext& context, const CALayer& layer, CGRect bounds, UIView& view) {
    if (layer.shadowOpacity() <= 0)
        return;
    if (context.resolve(layer.backgroundColor()).isVisible()) {
        paintLayer(context, layer, bounds);
        return;
    }
    auto* imageView = dynamic_cast<UIImageView*>(&view);
    if (!imageView || !imageView->image() || !imageView->image()->bitmap())
        return;
    CGRect rect = CGRectOffset(imageView->_imageRect(), bounds.origin.x, bounds.origin.y);
    auto image = imageView->image();
    paintBlurred(context, layer, bounds, [&](cairo_t* cr) { ImageSurface::draw(cr, *image, rect); });
}

void ShadowPainter::paintLayer(const DrawingContext& context, const CALayer& layer, CGRect bounds) {
    if (layer.shadowOpacity() <= 0 || !context.resolve(layer.backgroundColor()).isVisible())
        return;
    paintBlurred(context, layer, bounds, [&](cairo_t* cr) {
        DrawingContext shapeContext(cr, context.traits());
        shapeContext.roundedRect(bounds, layer.cornerRadius());
        cairo_set_source_rgba(cr, 0, 0, 0, 1);
        cairo_fill(cr);
    });
}

} // namespace platform::render
