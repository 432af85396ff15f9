#include "platform/uikit/UIScrollView.h"

#include <cmath>

#include "platform/uikit/LayoutEngine.h"

namespace {

[[maybe_unused]] const Class registeredScrollView =
    platform::registerClass<UIScrollView, UIView>();

UIEdgeInsets operator+(UIEdgeInsets lhs, UIEdgeInsets rhs) {
    return {lhs.top + rhs.top, lhs.left + rhs.left, lhs.bottom + rhs.bottom, lhs.right + rhs.right};
}

} // namespace

UIScrollView::UIScrollView() {
    setClipsToBounds(true);
}

UIScrollView::~UIScrollView() {
    for (const auto& guide : {m_contentLayoutGuide, m_frameLayoutGuide})
        if (guide)
            guide->_detachOwningView();
}

void UIScrollView::setContentSize(CGSize size) {
    if (std::isfinite(size.width) && std::isfinite(size.height))
        m_contentSize = size;
}

void UIScrollView::setContentOffset(CGPoint offset, bool animated) {
    if (!std::isfinite(offset.x) || !std::isfinite(offset.y))
        return;
    setBounds({offset, bounds().size});
    if (animated)
        if (auto delegate = this->delegate())
            if (auto self = selfAs<UIScrollView>())
                delegate->scrollViewDidEndScrollingAnimation(self);
}

void UIScrollView::setBounds(CGRect bounds) {
    CGPoint previous = this->bounds().origin;
    UIView::setBounds(bounds);
    if (this->bounds().origin == previous)
        return;
    if (auto delegate = this->delegate())
        if (auto self = selfAs<UIScrollView>())
            delegate->scrollViewDidScroll(self);
}

void UIScrollView::setContentInset(UIEdgeInsets inset) {
    UIEdgeInsets previous = adjustedContentInset();
    m_contentInset = inset;
    adjustedInsetMayHaveChanged(previous);
}

UIEdgeInsets UIScrollView::adjustedContentInset() const {
    if (m_adjustmentBehavior == UIScrollViewContentInsetAdjustmentNever)
        return m_contentInset;
    return m_contentInset + m_systemInset;
}

void UIScrollView::setContentInsetAdjustmentBehavior(UIScrollViewContentInsetAdjustmentBehavior behavior) {
    UIEdgeInsets previous = adjustedContentInset();
    m_adjustmentBehavior = behavior;
    adjustedInsetMayHaveChanged(previous);
}

void UIScrollView::_setSystemContentInset(UIEdgeInsets inset) {
    UIEdgeInsets previous = adjustedContentInset();
    m_systemInset = inset;
    adjustedInsetMayHaveChanged(previous);
}

void UIScrollView::adjustedInsetMayHaveChanged(UIEdgeInsets previous) {
    UIEdgeInsets current = adjustedContentInset();
    if (current == previous)
        return;
    // Content resting at its top-left stays there when the insets grow or shrink (bars arriving as
    // the view joins a window), as the device keeps it; content scrolled elsewhere stays put.
    CGPoint offset = contentOffset();
    bool restsAtTop = std::abs(offset.y + previous.top) < 0.5;
    bool restsAtLeft = std::abs(offset.x + previous.left) < 0.5;
    if (restsAtTop || restsAtLeft)
        setContentOffset({restsAtLeft ? -current.left : offset.x, restsAtTop ? -current.top : offset.y},
                         false);
    if (auto delegate = this->delegate())
        if (auto self = selfAs<UIScrollView>())
            delegate->scrollViewDidChangeAdjustedContentInset(self);
}

std::shared_ptr<UILayoutGuide> UIScrollView::contentLayoutGuide() {
    if (!m_contentLayoutGuide)
        m_contentLayoutGuide = std::make_shared<UILayoutGuide>(*this, UILayoutGuide::Kind::Content,
                                                               "UIScrollView-contentLayoutGuide");
    return m_contentLayoutGuide;
}

std::shared_ptr<UILayoutGuide> UIScrollView::frameLayoutGuide() {
    if (!m_frameLayoutGuide)
        m_frameLayoutGuide = std::make_shared<UILayoutGuide>(*this, UILayoutGuide::Kind::Frame,
                                                             "UIScrollView-frameLayoutGuide");
    return m_frameLayoutGuide;
}

// Edges and centres between the scroll view and what it contains mean the content area.
platform::LayoutItem* UIScrollView::_resolvedLayoutItem(NSLayoutAttribute attribute,
                                                        const platform::LayoutItem* other) {
    if (NSLayoutAttributeIsDimension(attribute) || !other)
        return this;
    UIView* otherView = other->_layoutOwningView();
    if (!otherView || otherView == this)
        return this;
    for (auto ancestor = otherView->superview(); ancestor; ancestor = ancestor->superview())
        if (ancestor.get() == this)
            return contentLayoutGuide().get();
    return this;
}

void UIScrollView::layoutSubviews() {
    UIView::layoutSubviews();
    auto& engine = _layoutEngineOfTree();
    if (m_contentLayoutGuide && engine.isMember(*m_contentLayoutGuide))
        m_contentSize = {m_contentLayoutGuide->_width().value(), m_contentLayoutGuide->_height().value()};
}

void UIScrollView::safeAreaInsetsDidChange() {
    UIView::safeAreaInsetsDidChange();
    _setSystemContentInset(safeAreaInsets());
}

void UIScrollView::_dragToContentOffset(CGPoint offset) {
    auto self = selfAs<UIScrollView>();
    if (!m_scrollEnabled || !self)
        return;
    if (auto delegate = this->delegate())
        delegate->scrollViewWillBeginDragging(self);
    setContentOffset(offset, false);
    if (auto delegate = this->delegate())
        delegate->scrollViewDidEndDraggingWillDecelerate(self, false);
}
