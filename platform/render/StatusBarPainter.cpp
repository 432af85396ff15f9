#include "platform/render/StatusBarPainter.h"

#include <cairo.h>

#include <cstdint>
#include <cstring>

#include "platform/render/TextPainter.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/UIWindow.h"

namespace platform::render {

namespace {

constexpr CGFloat statusBarHeight = 20;

// Light text over dark content (a dark bar, a dark appearance), dark text over light: read from what
// is already drawn under the bar.
bool isDarkUnder(const DrawingContext& context, CGPoint point) {
    cairo_t* cr = context.cairo();
    cairo_surface_t* target = cairo_get_target(cr);
    if (cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_image_surface_get_format(target) != CAIRO_FORMAT_ARGB32)
        return context.traits()->userInterfaceStyle() == UIUserInterfaceStyle::Dark;
    double x = point.x, y = point.y;
    cairo_user_to_device(cr, &x, &y);
    int px = static_cast<int>(x), py = static_cast<int>(y);
    if (px < 0 || py < 0 || px >= cairo_image_surface_get_width(target) ||
        py >= cairo_image_surface_get_height(target))
        return false;
    cairo_surface_flush(target);
    const unsigned char* row = cairo_image_surface_get_data(target) +
                               static_cast<std::ptrdiff_t>(py) * cairo_image_surface_get_stride(target);
    std::uint32_t word = 0;
    std::memcpy(&word, row + static_cast<std::ptrdiff_t>(px) * 4, sizeof word);
    // Premultiplied over the black backdrop, so the channels are what shows.
    double luminance =
        (0.299 * ((word >> 16) & 0xff) + 0.587 * ((word >> 8) & 0xff) + 0.114 * (word & 0xff)) / 255;
    return luminance < 0.5;
}

} // namespace

void StatusBarPainter::paint(const DrawingContext& context, UIWindow& window) {
    CGFloat width = window.bounds().size.width;
    DrawColor ink = isDarkUnder(context, {width / 2, statusBarHeight / 2}) ? DrawingContext::rgb(1, 1, 1)
                                                                           : DrawingContext::rgb(0, 0, 0);
    TextPainter::Style style{UIFont::systemFontOfSize(12, UIFontWeightSemibold), ink, NSTextAlignmentCenter,
                             1};
    CGFloat textHeight = TextPainter::measureHeight("9:41", width, style);
    TextPainter::paintText(context, "9:41", {{0, (statusBarHeight - textHeight) / 2}, {width, textHeight}},
                           style);

    // The battery: an outlined body, its cap and a full charge.
    cairo_t* cr = context.cairo();
    CGRect body{{width - 6 - 24, 5.5}, {22, 10}};
    context.roundedRect(body, 2.5);
    context.setSource(ink.withAlpha(0.4));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    context.fillRect(CGRectInset(body, 2, 2), ink, 1.2);
    context.fillRect({{CGRectGetMaxX(body) + 1, 8.5}, {1.5, 4}}, ink.withAlpha(0.4), 0.7);
}

} // namespace platform::render
