#include "platform/render/DrawingContext.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/uikit/UITraitCollection.h"

namespace platform::render {

DrawColor DrawingContext::resolve(const UIColorPtr& color) const {
    if (!color)
        return {};
    DrawColor resolved;
    color->resolvedColorWithTraitCollection(m_traits)->getRed(&resolved.red, &resolved.green, &resolved.blue,
                                                              &resolved.alpha);
    auto clamp = [](double value) { return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0; };
    return {clamp(resolved.red), clamp(resolved.green), clamp(resolved.blue), clamp(resolved.alpha)};
}

void DrawingContext::setSource(const DrawColor& color) const {
    cairo_set_source_rgba(m_context, color.red, color.green, color.blue, color.alpha);
}

void DrawingContext::roundedRect(CGRect rect, CGFloat radius) const {
    roundedRect(rect, radius, true, true);
}

void DrawingContext::roundedRect(CGRect rect, CGFloat radius, bool roundTop, bool roundBottom) const {
    rect = CGRectStandardize(rect);
    CGFloat x = rect.origin.x, y = rect.origin.y, w = rect.size.width, h = rect.size.height;
    CGFloat r = std::clamp(radius, 0.0, std::min(w, h) / 2);
    if (r <= 0 || (!roundTop && !roundBottom)) {
        cairo_rectangle(m_context, x, y, w, h);
        return;
    }
    constexpr double quarter = std::numbers::pi / 2;
    CGFloat top = roundTop ? r : 0, bottom = roundBottom ? r : 0;
    cairo_new_sub_path(m_context);
    if (top > 0) {
        cairo_arc(m_context, x + w - top, y + top, top, -quarter, 0);
    } else {
        cairo_move_to(m_context, x + w, y);
    }
    if (bottom > 0) {
        cairo_arc(m_context, x + w - bottom, y + h - bottom, bottom, 0, quarter);
        cairo_arc(m_context, x + bottom, y + h - bottom, bottom, quarter, 2 * quarter);
    } else {
        cairo_line_to(m_context, x + w, y + h);
        cairo_line_to(m_context, x, y + h);
    }
    if (top > 0) {
        cairo_arc(m_context, x + top, y + top, top, 2 * quarter, 3 * quarter);
    } else {
        cairo_line_to(m_context, x, y);
    }
    cairo_close_path(m_context);
}

void DrawingContext::fillRect(CGRect rect, const DrawColor& color, CGFloat radius) const {
    if (!color.isVisible())
        return;
    roundedRect(rect, radius);
    setSource(color);
    cairo_fill(m_context);
}

SavedState::SavedState(cairo_t* context) : m_context(context) {
    cairo_save(m_context);
}

SavedState::~SavedState() {
    cairo_restore(m_context);
}

} // namespace platform::render
