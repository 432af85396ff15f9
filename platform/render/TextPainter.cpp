#include "platform/render/TextPainter.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>

#include "platform/uikit/TextEngine.h"
#include "platform/uikit/TextLayout.h"
#include "platform/uikit/UILabel.h"

namespace platform::render {

namespace {

UIColorPtr colorOf(const DrawColor& color) {
    return UIColor::colorWithRed(color.red, color.green, color.blue, color.alpha);
}

TextLayoutRequest requestFor(CGFloat width, const TextPainter::Style& style) {
    TextLayoutRequest request;
    request.maximumWidth = width;
    request.maximumLines = style.maximumLines;
    request.alignment = style.alignment;
    return request;
}

void show(cairo_t* cr, const TextLayout& layout, CGPoint origin) {
    SavedState saved(cr);
    cairo_move_to(cr, origin.x, origin.y);
    pango_cairo_show_layout(cr, layout.pangoLayout());
}

} // namespace

void TextPainter::paintLabel(const DrawingContext& context, const UILabel& label) {
    auto guard = TextEngine::shared().lock();
    auto layout = label._makeTextLayout();
    if (!layout)
        return;
    CGRect bounds = label.bounds();
    CGFloat height = layout->size().height;
    show(context.cairo(), *layout, {bounds.origin.x, bounds.origin.y + (bounds.size.height - height) / 2});
}

CGFloat TextPainter::paintText(const DrawingContext& context, const std::string& text, CGRect box,
                               const Style& style) {
    return paintAttributedText(context, NSAttributedString(text), box, style);
}

CGFloat TextPainter::paintAttributedText(const DrawingContext& context, const NSAttributedString& text,
                                         CGRect box, const Style& style) {
    if (text.string().empty() || !style.font)
        return 0;
    auto guard = TextEngine::shared().lock();
    TextLayout layout(text, *style.font, colorOf(style.color), requestFor(box.size.width, style));
    show(context.cairo(), layout, box.origin);
    return layout.size().height;
}

CGFloat TextPainter::measureHeight(const std::string& text, CGFloat width, const Style& style) {
    if (text.empty() || !style.font)
        return 0;
    auto guard = TextEngine::shared().lock();
    TextLayout layout(NSAttributedString(text), *style.font, nullptr, requestFor(width, style));
    return layout.size().height;
}

CGFloat TextPainter::measureWidth(const std::string& text, const Style& style) {
    if (text.empty() || !style.font)
        return 0;
    auto guard = TextEngine::shared().lock();
    TextLayout layout(NSAttributedString(text), *style.font, nullptr, requestFor(0, style));
    return layout.size().width;
}

} // namespace platform::render
