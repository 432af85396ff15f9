#include "platform/render/ImageSurface.h"

#include <cairo.h>

#include "platform/render/DrawingContext.h"
#include "platform/uikit/UIImage.h"

namespace platform::render {

void ImageSurface::draw(cairo_t* context, const UIImage& image, CGRect rect, double alpha) {
    const auto& bitmap = image.bitmap();
    rect = CGRectStandardize(rect);
    if (!bitmap || rect.size.width <= 0 || rect.size.height <= 0)
        return;
    CairoARGB32 pixels = bitmap->toCairoARGB32();
    if (pixels.width <= 0 || pixels.height <= 0)
        return;
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        pixels.bytes.data(), CAIRO_FORMAT_ARGB32, pixels.width, pixels.height, pixels.stride);
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        SavedState saved(context);
        cairo_rectangle(context, rect.origin.x, rect.origin.y, rect.size.width, rect.size.height);
        cairo_clip(context);
        cairo_translate(context, rect.origin.x, rect.origin.y);
        cairo_scale(context, rect.size.width / pixels.width, rect.size.height / pixels.height);
        cairo_set_source_surface(context, surface, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(context), CAIRO_FILTER_GOOD);
        cairo_pattern_set_extend(cairo_get_source(context), CAIRO_EXTEND_PAD);
        cairo_paint_with_alpha(context, alpha);
    }
    cairo_surface_destroy(surface);
}

} // namespace platform::render
