#include "platform/render/ViewPainter.h"

#include <cairo.h>

#include <cmath>

#include "platform/render/ContentPainter.h"
#include "platform/render/ShadowPainter.h"
#include "platform/uikit/CAGradientLayer.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/ViewAnimator.h"

namespace platform::render {

namespace {

constexpr double invisibleAlpha = 1.0 / 512;

bool isDrawableTransform(const CGAffineTransform& t) {
    double determinant = t.a * t.d - t.b * t.c;
    return std::isfinite(determinant) && std::fabs(determinant) > 1e-9 && std::isfinite(t.tx) &&
           std::isfinite(t.ty);
}

bool isDrawableRect(const CGRect& rect) {
    return std::isfinite(rect.origin.x) && std::isfinite(rect.origin.y) && std::isfinite(rect.size.width) &&
           std::isfinite(rect.size.height);
}

// Moves user space from the superview's bounds coordinates (or a superlayer's) into the item's own.
bool enterOwnSpace(cairo_t* cr, CGPoint center, const CGAffineTransform& transform, const CGRect& bounds) {
    if (!isDrawableTransform(transform) || !isDrawableRect(bounds) || !std::isfinite(center.x) ||
        !std::isfinite(center.y))
        return false;
    cairo_translate(cr, center.x, center.y);
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, transform.a, transform.b, transform.c, transform.d, transform.tx,
                      transform.ty);
    cairo_transform(cr, &matrix);
    cairo_translate(cr, -bounds.size.width / 2 - bounds.origin.x, -bounds.size.height / 2 - bounds.origin.y);
    return true;
}

void paintLinearGradient(const DrawingContext& context, const CAGradientLayer& gradient, CGRect bounds) {
    const auto& colors = gradient.colors();
    if (colors.empty())
        return;
    cairo_t* cr = context.cairo();
    CGPoint start = gradient.startPoint(), end = gradient.endPoint();
    auto* pattern = cairo_pattern_create_linear(
        bounds.origin.x + start.x * bounds.size.width, bounds.origin.y + start.y * bounds.size.height,
        bounds.origin.x + end.x * bounds.size.width, bounds.origin.y + end.y * bounds.size.height);
    const auto& locations = gradient.locations();
    bool ownLocations = locations.size() == colors.size();
    for (std::size_t index = 0; index < colors.size(); ++index) {
        double location = ownLocations ? locations[index]
                          : colors.size() == 1
                              ? 0.0
                              : static_cast<double>(index) / static_cast<double>(colors.size() - 1);
        DrawColor color = context.resolve(colors[index]);
        cairo_pattern_add_color_stop_rgba(pattern, location, color.red, color.green, color.blue, color.alpha);
    }
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_set_source(cr, pattern);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
}

} // namespace

void ViewPainter::paintPlaced(UIView& view) {
    if (view.isHidden() || (m_skip && m_skip(view)))
        return;
    auto values = ViewAnimator::shared().presentationValues(view);
    if (!(values.alpha > invisibleAlpha))
        return;
    cairo_t* cr = m_context.cairo();
    SavedState saved(cr);
    if (!enterOwnSpace(cr, values.center, values.transform, view.bounds()))
        return;
    paintInOwnSpace(view, values.alpha);
}

void ViewPainter::paintInOwnSpace(UIView& view, double alpha) {
    if (!(alpha > invisibleAlpha))
        return;
    auto layer = view.layer();
    if (layer->mask()) {
        paintMasked(view, *layer->mask(), alpha);
        return;
    }
    cairo_t* cr = m_context.cairo();
    bool grouped = alpha < 1;
    if (grouped)
        cairo_push_group(cr);
    paintBody(view);
    if (grouped) {
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, alpha);
    }
}

void ViewPainter::paintMasked(UIView& view, const CALayer& mask, double alpha) {
    cairo_t* cr = m_context.cairo();
    cairo_push_group(cr);
    paintBody(view);
    cairo_pattern_t* content = cairo_pop_group(cr);

    cairo_push_group(cr);
    paintStandaloneLayer(mask);
    cairo_pattern_t* coverage = cairo_pop_group(cr);

    cairo_push_group(cr);
    cairo_set_source(cr, content);
    cairo_mask(cr, coverage);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, alpha);
    cairo_pattern_destroy(coverage);
    cairo_pattern_destroy(content);
}

void ViewPainter::paintBody(UIView& view) {
    cairo_t* cr = m_context.cairo();
    auto layer = view.layer();
    CGRect bounds = view.bounds();
    ShadowPainter::paint(m_context, *layer, bounds, view);
    m_context.fillRect(bounds, m_context.resolve(view.backgroundColor()), layer->cornerRadius());
    {
        SavedState saved(cr);
        if (view.clipsToBounds() || dynamic_cast<UIScrollView*>(&view)) {
            m_context.roundedRect(bounds, layer->cornerRadius());
            cairo_clip(cr);
        }
        for (const auto& sublayer : layer->sublayers())
            if (sublayer && !sublayer->_view())
                paintStandaloneLayer(*sublayer);
        if (!ContentPainter::paint(view, *this))
            for (const auto& subview : view.subviews())
                if (subview)
                    paintPlaced(*subview);
    }
    paintBorder(*layer, bounds);
}

void ViewPainter::paintStandaloneLayer(const CALayer& layer) {
    if (layer.isHidden() || !(layer.opacity() > invisibleAlpha))
        return;
    cairo_t* cr = m_context.cairo();
    SavedState saved(cr);
    CGRect bounds = layer.bounds();
    if (!enterOwnSpace(cr, layer.position(), layer.affineTransform(), bounds))
        return;
    bool grouped = layer.opacity() < 1;
    if (grouped)
        cairo_push_group(cr);
    ShadowPainter::paintLayer(m_context, layer, bounds);
    paintLayerFill(layer, bounds);
    {
        SavedState clipped(cr);
        if (layer.masksToBounds()) {
            m_context.roundedRect(bounds, layer.cornerRadius());
            cairo_clip(cr);
        }
        for (const auto& sublayer : layer.sublayers())
            if (sublayer)
                paintStandaloneLayer(*sublayer);
    }
    paintBorder(layer, bounds);
    if (grouped) {
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, layer.opacity());
    }
}

void ViewPainter::paintLayerFill(const CALayer& layer, CGRect bounds) {
    m_context.fillRect(bounds, m_context.resolve(layer.backgroundColor()), layer.cornerRadius());
    if (auto* gradient = dynamic_cast<const CAGradientLayer*>(&layer)) {
        SavedState saved(m_context.cairo());
        m_context.roundedRect(bounds, layer.cornerRadius());
        paintLinearGradient(m_context, *gradient, bounds);
    }
}

void ViewPainter::paintBorder(const CALayer& layer, CGRect bounds) {
    DrawColor color = m_context.resolve(layer.borderColor() ? layer.borderColor() : UIColor::blackColor());
    if (layer.borderWidth() <= 0 || !color.isVisible())
        return;
    // The border lies inside the bounds, as on the platform.
    CGFloat half = layer.borderWidth() / 2;
    CGRect inner = CGRectInset(bounds, half, half);
    if (CGRectIsNull(inner))
        return;
    cairo_t* cr = m_context.cairo();
    m_context.roundedRect(inner, layer.cornerRadius() > half ? layer.cornerRadius() - half : 0);
    m_context.setSource(color);
    cairo_set_line_width(cr, layer.borderWidth());
    cairo_stroke(cr);
}

} // namespace platform::render
