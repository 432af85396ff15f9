// UIView: geometry, coordinate conversion, sizing and autoresizing.

#include <algorithm>
#include <cmath>

#include "platform/uikit/AutoresizingRule.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/LayoutEngine.h"
#include "platform/uikit/UILayoutGuide.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/ViewAnimator.h"

namespace {

bool isFinite(CGRect rect) {
    return std::isfinite(rect.origin.x) && std::isfinite(rect.origin.y) && std::isfinite(rect.size.width) &&
           std::isfinite(rect.size.height);
}

bool isFinite(CGPoint point) {
    return std::isfinite(point.x) && std::isfinite(point.y);
}

bool isFinite(const CGAffineTransform& t) {
    return std::isfinite(t.a) && std::isfinite(t.b) && std::isfinite(t.c) && std::isfinite(t.d) &&
           std::isfinite(t.tx) && std::isfinite(t.ty);
}

CGRect boundingBoxOfCorners(CGRect rect, const std::function<CGPoint(CGPoint)>& map) {
    CGPoint corners[4] = {map(rect.origin), map({CGRectGetMaxX(rect), rect.origin.y}),
                          map({rect.origin.x, CGRectGetMaxY(rect)}),
                          map({CGRectGetMaxX(rect), CGRectGetMaxY(rect)})};
    CGFloat minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
    for (const CGPoint& corner : corners) {
        minX = std::min(minX, corner.x);
        maxX = std::max(maxX, corner.x);
        minY = std::min(minY, corner.y);
        maxY = std::max(maxY, corner.y);
    }
    return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}

} // namespace

// --- Frame, bounds, centre, transform ----------------------------------------------------------------

CGRect UIView::frame() const {
    CGSize size = m_bounds.size;
    if (CGAffineTransformIsIdentity(m_transform))
        return CGRectMake(m_center.x - size.width / 2, m_center.y - size.height / 2, size.width, size.height);
    CGRect local = CGRectMake(-size.width / 2, -size.height / 2, size.width, size.height);
    return CGRectOffset(CGRectApplyAffineTransform(local, m_transform), m_center.x, m_center.y);
}

void UIView::setFrame(CGRect frame) {
    if (!isFinite(frame))
        return;
    frame = CGRectStandardize(frame);
    applyCenterAndSize({CGRectGetMidX(frame), CGRectGetMidY(frame)}, frame.size, false);
}

void UIView::_setFrameFromLayout(CGRect frame) {
    if (!isFinite(frame))
        return;
    frame = CGRectStandardize(frame);
    applyCenterAndSize({CGRectGetMidX(frame), CGRectGetMidY(frame)}, frame.size, true);
}

void UIView::setBounds(CGRect bounds) {
    if (!isFinite(bounds))
        return;
    m_bounds.origin = bounds.origin;
    if (bounds.size != m_bounds.size)
        applyCenterAndSize(m_center, bounds.size, false);
}

void UIView::setCenter(CGPoint center) {
    if (!isFinite(center))
        return;
    applyCenterAndSize(center, m_bounds.size, false);
}

void UIView::applyCenterAndSize(CGPoint center, CGSize size, bool fromLayout) {
    if (center != m_center) {
        platform::AnimatableValues after{m_alpha, center, m_transform};
        platform::ViewAnimator::shared().willChange(*this, platform::ViewAnimator::Center, after);
    }
    CGSize oldSize = m_bounds.size;
    m_center = center;
    m_bounds.size = size;
    if (!fromLayout)
        frameWasSetByCode();
    else if (m_preservesSuperviewLayoutMargins && m_layoutMarginsGuide)
        m_layoutMarginsGuide->_invalidate();
    if (!m_ownedGuides.empty() && !m_hasOwnSafeArea)
        invalidateOwnedGuides();
    if (size != oldSize)
        boundsSizeDidChange(oldSize);
}

void UIView::setTransform(CGAffineTransform transform) {
    if (!isFinite(transform) || transform == m_transform)
        return;
    platform::AnimatableValues after{m_alpha, m_center, transform};
    platform::ViewAnimator::shared().willChange(*this, platform::ViewAnimator::Transform, after);
    m_transform = transform;
}

void UIView::setAlpha(double alpha) {
    // Written so that NaN becomes 0.
    alpha = alpha >= 0 ? std::min(alpha, 1.0) : 0.0;
    if (alpha == m_alpha)
        return;
    platform::AnimatableValues after{alpha, m_center, m_transform};
    platform::ViewAnimator::shared().willChange(*this, platform::ViewAnimator::Alpha, after);
    m_alpha = alpha;
}

// Code placed the view: its translated constraints start again from here.
void UIView::frameWasSetByCode() {
    captureAutoresizingReference();
    invalidateOwnLayoutConstraints();
    if (m_layoutMarginsGuide)
        m_layoutMarginsGuide->_invalidate();
}

void UIView::captureAutoresizingReference() {
    m_autoresizingFrame = frame();
    auto superview = this->superview();
    m_autoresizingSuperviewSize = superview ? superview->m_bounds.size : CGSizeZero;
}

void UIView::boundsSizeDidChange(CGSize oldSize) {
    setNeedsLayout();
    if (!superview())
        _setNeedsLayoutEngineUpdate();
    if (m_autoresizesSubviews)
        resizeSubviewsWithOldSize(oldSize);
}

// Views placed by their frame follow this view's new size by their masks, measured from where code
// last placed them, so that shrinking and growing again returns them exactly.
void UIView::resizeSubviewsWithOldSize(CGSize) {
    for (auto subviews = m_subviews; const auto& subview : subviews) {
        if (!subview->m_translatesAutoresizingMask || subview->m_autoresizingMask == UIViewAutoresizingNone)
            continue;
        CGRect reference = subview->m_autoresizingFrame;
        CGSize referenceExtent = subview->m_autoresizingSuperviewSize;
        auto horizontal = platform::AutoresizingRule::horizontal(subview->m_autoresizingMask, reference,
                                                                 referenceExtent.width);
        auto vertical = platform::AutoresizingRule::vertical(subview->m_autoresizingMask, reference,
                                                             referenceExtent.height);
        CGRect frame =
            CGRectMake(horizontal.origin(reference.origin.x, referenceExtent.width, m_bounds.size.width),
                       vertical.origin(reference.origin.y, referenceExtent.height, m_bounds.size.height),
                       horizontal.size(reference.size.width, referenceExtent.width, m_bounds.size.width),
                       vertical.size(reference.size.height, referenceExtent.height, m_bounds.size.height));
        if (CGAffineTransformIsIdentity(subview->m_transform))
            subview->applyCenterAndSize({CGRectGetMidX(frame), CGRectGetMidY(frame)}, frame.size, true);
        else
            subview->applyCenterAndSize({CGRectGetMidX(frame), CGRectGetMidY(frame)}, subview->m_bounds.size,
                                        true);
    }
}

// --- Coordinate conversion ------------------------------------------------------------------------------

// From this view's bounds coordinates up to the ancestor's (nullptr: the top of the tree).
CGPoint UIView::convertPointToAncestor(CGPoint point, const UIView* ancestor) const {
    for (const UIView* view = this; view && view != ancestor;) {
        auto superview = view->superview();
        if (!superview)
            break;
        CGPoint fromCenter{point.x - view->m_bounds.origin.x - view->m_bounds.size.width / 2,
                           point.y - view->m_bounds.origin.y - view->m_bounds.size.height / 2};
        CGPoint turned = CGPointApplyAffineTransform(fromCenter, view->m_transform);
        point = {view->m_center.x + turned.x, view->m_center.y + turned.y};
        view = superview.get();
    }
    return point;
}

CGPoint UIView::convertPointFromAncestor(CGPoint point, const UIView* ancestor) const {
    std::vector<const UIView*> chain;
    for (const UIView* view = this; view && view != ancestor; view = view->superview().get())
        if (view->superview())
            chain.push_back(view);
    for (auto position = chain.rbegin(); position != chain.rend(); ++position) {
        const UIView* view = *position;
        CGPoint fromCenter{point.x - view->m_center.x, point.y - view->m_center.y};
        CGPoint local = CGPointApplyAffineTransform(fromCenter, CGAffineTransformInvert(view->m_transform));
        point = {local.x + view->m_bounds.origin.x + view->m_bounds.size.width / 2,
                 local.y + view->m_bounds.origin.y + view->m_bounds.size.height / 2};
    }
    return point;
}

CGPoint UIView::convertPoint(CGPoint point, const std::shared_ptr<UIView>& toView) const {
    CGPoint top = convertPointToAncestor(point, nullptr);
    return toView ? toView->convertPointFromAncestor(top, nullptr) : top;
}

CGPoint UIView::convertPointFromView(CGPoint point, const std::shared_ptr<UIView>& fromView) const {
    CGPoint top = fromView ? fromView->convertPointToAncestor(point, nullptr) : point;
    return convertPointFromAncestor(top, nullptr);
}

CGRect UIView::convertRect(CGRect rect, const std::shared_ptr<UIView>& toView) const {
    return boundingBoxOfCorners(CGRectStandardize(rect), [&](CGPoint p) { return convertPoint(p, toView); });
}

CGRect UIView::convertRectFromView(CGRect rect, const std::shared_ptr<UIView>& fromView) const {
    return boundingBoxOfCorners(CGRectStandardize(rect),
                                [&](CGPoint p) { return convertPointFromView(p, fromView); });
}

// --- Sizing ------------------------------------------------------------------------------------------------

CGSize UIView::sizeThatFits(CGSize) const {
    return m_bounds.size;
}

void UIView::sizeToFit() {
    CGSize size = sizeThatFits(m_bounds.size);
    if (!(size.width >= 0) || !(size.height >= 0))
        return;
    if (!CGAffineTransformIsIdentity(m_transform)) {
        applyCenterAndSize(m_center, size, false);
        return;
    }
    CGPoint origin = frame().origin;
    applyCenterAndSize({origin.x + size.width / 2, origin.y + size.height / 2}, size, false);
}

CGSize UIView::intrinsicContentSize() const {
    return {UIViewNoIntrinsicMetric, UIViewNoIntrinsicMetric};
}

void UIView::invalidateIntrinsicContentSize() {
    if (!m_translatesAutoresizingMask)
        invalidateOwnLayoutConstraints();
}

UILayoutPriority UIView::contentHuggingPriorityForAxis(UILayoutConstraintAxis axis) const {
    return m_hugging[axis == UILayoutConstraintAxisVertical ? 1 : 0];
}

UILayoutPriority UIView::contentCompressionResistancePriorityForAxis(UILayoutConstraintAxis axis) const {
    return m_compressionResistance[axis == UILayoutConstraintAxisVertical ? 1 : 0];
}

// --- Layer ---------------------------------------------------------------------------------------------

std::shared_ptr<CALayer> UIView::layer() {
    if (!m_layer) {
        m_layer = makeBackingLayer();
        if (!m_layer)
            m_layer = std::make_shared<CALayer>();
        m_layer->_setView(selfAs<UIView>());
    }
    return m_layer;
}

std::shared_ptr<CALayer> UIView::makeBackingLayer() {
    return std::make_shared<CALayer>();
}
