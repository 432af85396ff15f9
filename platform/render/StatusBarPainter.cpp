#include "render/StatusBarPainter.h"

#include <cairo.h>

#include "render/TextPainter.h"
#include "uikit/UITraitCollection.h"
#include "uikit/UIWindow.h"

namespace platform::render {

namespace {

constexpr CGFloat statusBarHeight = 20;

} // namespace

void StatusBarPainter::paint(const DrawingContext& context, UIWindow& window) {
    CGFloat width = window.bounds().size.width;
    bool dark = context.traits()->userInterfaceStyle() == UIUserInterfaceStyle::Dark;
    DrawColor ink = dark ? DrawingContext::rgb(1, 1, 1) : DrawingContext::rgb(0, 0, 0);
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
