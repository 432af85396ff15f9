#pragma once

#include <functional>
#include <memory>

#include "platform/render/DrawingContext.h"

class CALayer;
class UIView;

namespace platform::render {

// Draws views as the screen shows them: each view placed by its presentation values (centre,
// transform, alpha of a running animation, else the model's), then its shadow, background, border
// and standalone sublayers, its own content (text, images, controls), its subviews in order, all
// clipped to its bounds when it clips and masked by its layer's mask. Hidden views and fully
// transparent ones are skipped.
class ViewPainter {
public:
    explicit ViewPainter(const DrawingContext& context) : m_context(context) {}

    // Draws `view` in its superview's bounds coordinates (the current user space).
    void paintPlaced(UIView& view);
    // Draws `view` in its own bounds coordinates (the current user space), at `alpha`; its centre and
    // transform are not applied.
    void paintInOwnSpace(UIView& view, double alpha);
    // Lets a view be left out of the tree walk (an alert's card is drawn over the dimmed screen later).
    void setSkipPredicate(std::function<bool(const UIView&)> skip) { m_skip = std::move(skip); }

    const DrawingContext& context() const { return m_context; }

private:
    void paintBody(UIView& view);
    void paintStandaloneLayer(const CALayer& layer);
    void paintLayerFill(const CALayer& layer, CGRect bounds);
    void paintBorder(const CALayer& layer, CGRect bounds);
    void paintMasked(UIView& view, const CALayer& mask, double alpha);

    DrawingContext m_context;
    std::function<bool(const UIView&)> m_skip;
};

} // namespace platform::render
