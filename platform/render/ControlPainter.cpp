#include "platform/render/ControlPainter.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/render/TextPainter.h"
#include "platform/uikit/UITraitCollection.h"

namespace platform::render {

namespace {

bool isDark(const DrawingContext& context) {
    return context.traits() && context.traits()->userInterfaceStyle() == UIUserInterfaceStyle::Dark;
}

// A round knob with the soft shadow the system controls give it.
void paintKnob(const DrawingContext& context, CGPoint center, CGFloat radius) {
    cairo_t* cr = context.cairo();
    for (int ring = 3; ring >= 1; --ring) {
        cairo_arc(cr, center.x, center.y + 1.5, radius + ring * 0.6, 0, 2 * std::numbers::pi);
        context.setSource(DrawingContext::rgb(0, 0, 0, 0.05));
        cairo_fill(cr);
    }
    cairo_arc(cr, center.x, center.y, radius, 0, 2 * std::numbers::pi);
    context.setSource(DrawingContext::rgb(1, 1, 1));
    cairo_fill(cr);
}

} // namespace

void ControlPainter::paintSwitch(const DrawingContext& context, CGPoint origin, bool on,
                                 const DrawColor& onTint) {
    CGRect track{origin, switchSize};
    DrawColor off = isDark(context) ? DrawingContext::rgb(0.47, 0.47, 0.5, 0.32)
                                    : DrawingContext::rgb(0.47, 0.47, 0.5, 0.16);
    context.fillRect(track, on ? onTint : off, switchSize.height / 2);
    constexpr CGFloat knobRadius = 13.5;
    CGFloat knobX = on ? CGRectGetMaxX(track) - 2 - knobRadius : origin.x + 2 + knobRadius;
    paintKnob(context, {knobX, CGRectGetMidY(track)}, knobRadius);
}

void ControlPainter::paintSpinner(const DrawingContext& context, CGPoint center, CGFloat radius,
                                  const DrawColor& color) {
    cairo_t* cr = context.cairo();
    SavedState saved(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, std::max(1.5, radius * 0.22));
    constexpr int spokes = 12;
    for (int spoke = 0; spoke < spokes; ++spoke) {
        double angle = -std::numbers::pi / 2 + 2 * std::numbers::pi * spoke / spokes;
        double fade = 1.0 - 0.7 * static_cast<double>(spoke) / spokes;
        cairo_move_to(cr, center.x + std::cos(angle) * radius * 0.5,
                      center.y + std::sin(angle) * radius * 0.5);
        cairo_line_to(cr, center.x + std::cos(angle) * radius, center.y + std::sin(angle) * radius);
        context.setSource(color.withAlpha(color.alpha * fade));
        cairo_stroke(cr);
    }
}

void ControlPainter::paintChevron(const DrawingContext& context, CGFloat tipX, CGFloat centerY) {
    cairo_t* cr = context.cairo();
    SavedState saved(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, tipX - 6, centerY - 6);
    cairo_line_to(cr, tipX, centerY);
    cairo_line_to(cr, tipX - 6, centerY + 6);
    context.setSource(isDark(context) ? DrawingContext::rgb(0.35, 0.35, 0.37)
                                      : DrawingContext::rgb(0.77, 0.77, 0.78));
    cairo_stroke(cr);
}

void ControlPainter::paintCheckmark(const DrawingContext& context, CGFloat rightX, CGFloat centerY,
                                    const DrawColor& tint) {
    cairo_t* cr = context.cairo();
    SavedState saved(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 2.2);
    cairo_move_to(cr, rightX - 14, centerY);
    cairo_line_to(cr, rightX - 9, centerY + 5);
    cairo_line_to(cr, rightX, centerY - 6);
    context.setSource(tint);
    cairo_stroke(cr);
}

void ControlPainter::paintSlider(const DrawingContext& context, CGRect rect, double fraction,
                                 const DrawColor& tint) {
    fraction = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
    constexpr CGFloat knobRadius = 14;
    CGFloat left = rect.origin.x + knobRadius, width = std::max<CGFloat>(0, rect.size.width - 2 * knobRadius);
    CGFloat midY = CGRectGetMidY(rect), knobX = left + width * fraction;
    DrawColor rest =
        isDark(context) ? DrawingContext::rgb(0.22, 0.22, 0.23) : DrawingContext::rgb(0.9, 0.9, 0.92);
    context.fillRect({{left, midY - 2}, {width, 4}}, rest, 2);
    context.fillRect({{left, midY - 2}, {knobX - left, 4}}, tint, 2);
    paintKnob(context, {knobX, midY}, knobRadius);
}

void ControlPainter::paintSegments(const DrawingContext& context, CGRect rect,
                                   const std::vector<std::string>& titles, long selected) {
    bool dark = isDark(context);
    context.fillRect(
        rect, dark ? DrawingContext::rgb(0.46, 0.46, 0.5, 0.24) : DrawingContext::rgb(0.46, 0.46, 0.5, 0.12),
        8);
    if (titles.empty())
        return;
    CGFloat segment = rect.size.width / static_cast<CGFloat>(titles.size());
    DrawColor ink = dark ? DrawingContext::rgb(1, 1, 1) : DrawingContext::rgb(0, 0, 0);
    for (std::size_t index = 0; index < titles.size(); ++index) {
        CGRect box{{rect.origin.x + segment * static_cast<CGFloat>(index), rect.origin.y},
                   {segment, rect.size.height}};
        bool isSelected = static_cast<long>(index) == selected;
        if (isSelected)
            context.fillRect(CGRectInset(box, 2, 2),
                             dark ? DrawingContext::rgb(0.39, 0.39, 0.4) : DrawingContext::rgb(1, 1, 1), 7);
        else if (index > 0 && static_cast<long>(index) != selected + 1)
            context.fillRect({{box.origin.x, box.origin.y + 8}, {1.0 / 3, box.size.height - 16}},
                             ink.withAlpha(0.2));
        TextPainter::Style style{UIFont::systemFontOfSize(13, isSelected ? UIFontWeightSemibold : 0), ink,
                                 NSTextAlignmentCenter, 1};
        CGFloat height = TextPainter::measureHeight(titles[index], segment - 8, style);
        TextPainter::paintText(
            context, titles[index],
            {{box.origin.x + 4, box.origin.y + (box.size.height - height) / 2}, {segment - 8, height}},
            style);
    }
}

void ControlPainter::paintButtonTitle(const DrawingContext& context, CGRect bounds, const std::string& title,
                                      const DrawColor& color) {
    TextPainter::Style style{UIFont::systemFontOfSize(15), color, NSTextAlignmentCenter, 1};
    CGFloat height = TextPainter::measureHeight(title, bounds.size.width, style);
    TextPainter::paintText(
        context, title,
        {{bounds.origin.x, bounds.origin.y + (bounds.size.height - height) / 2}, {bounds.size.width, height}},
        style);
}

} // namespace platform::render
