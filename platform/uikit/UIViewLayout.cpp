// UIView: constraints, layout margins and the layout pass.

#include <algorithm>
#include <cstdio>

#include "platform/uikit/LayoutEngine.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UILayoutGuide.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIViewController.h"

namespace {

// Rounds of a layout pass before it gives up on a layout that keeps changing its own constraints.
constexpr int kMaximumLayoutRounds = 8;

bool isInSubtree(const UIView* view, const UIView& subtree) {
    for (; view; view = view->superview().get())
        if (view == &subtree)
            return true;
    return false;
}

bool touchesSubtree(const NSLayoutConstraint& constraint, const UIView& subtree) {
    for (const auto& item : {constraint.firstItem(), constraint.secondItem()})
        if (item && isInSubtree(item->_layoutOwningView(), subtree))
            return true;
    return false;
}

} // namespace

// --- Translated masks and constraints --------------------------------------------------------------------

void UIView::setTranslatesAutoresizingMaskIntoConstraints(bool translates) {
    if (translates == m_translatesAutoresizingMask)
        return;
    m_translatesAutoresizingMask = translates;
    captureAutoresizingReference();
    invalidateOwnLayoutConstraints();
    _setNeedsLayoutEngineUpdate();
}

void UIView::setAutoresizingMask(UIViewAutoresizing mask) {
    if (mask == m_autoresizingMask)
        return;
    m_autoresizingMask = mask;
    captureAutoresizingReference();
    if (m_translatesAutoresizingMask)
        invalidateOwnLayoutConstraints();
}

void UIView::addConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint) {
    if (constraint)
        constraint->setActive(true);
}

void UIView::removeConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint) {
    if (constraint && constraint->_holder() == this)
        constraint->setActive(false);
}

void UIView::_holdConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint) {
    m_constraints.push_back(constraint);
    _setNeedsLayoutEngineUpdate();
    setNeedsLayout();
}

void UIView::_releaseConstraint(const NSLayoutConstraint& constraint) {
    auto position = std::find_if(m_constraints.begin(), m_constraints.end(),
                                 [&](const auto& held) { return held.get() == &constraint; });
    if (position == m_constraints.end())
        return;
    auto keepAlive = *position;
    m_constraints.erase(position);
    _setNeedsLayoutEngineUpdate();
    setNeedsLayout();
}

// A view leaving this tree takes no constraint with it that still names views outside it: those
// are deactivated, as on the platform.
void UIView::treeWillChangeFor(UIView& movingView) {
    releaseConstraintsCrossing(movingView);
    _setNeedsLayoutEngineUpdate();
    setNeedsLayout();
}

void UIView::releaseConstraintsCrossing(const UIView& subtree) {
    for (UIView* ancestor = this; ancestor; ancestor = ancestor->superview().get())
        for (auto constraints = ancestor->m_constraints; const auto& constraint : constraints)
            if (touchesSubtree(*constraint, subtree))
                constraint->setActive(false);
}

// --- Layout margins -------------------------------------------------------------------------------------

void UIView::setLayoutMargins(UIEdgeInsets margins) {
    if (margins == m_layoutMargins)
        return;
    m_layoutMargins = margins;
    if (m_layoutMarginsGuide)
        m_layoutMarginsGuide->_invalidate();
    for (const auto& subview : m_subviews)
        if (subview->m_preservesSuperviewLayoutMargins && subview->m_layoutMarginsGuide)
            subview->m_layoutMarginsGuide->_invalidate();
    setNeedsLayout();
}

void UIView::setPreservesSuperviewLayoutMargins(bool preserves) {
    if (preserves == m_preservesSuperviewLayoutMargins)
        return;
    m_preservesSuperviewLayoutMargins = preserves;
    if (m_layoutMarginsGuide)
        m_layoutMarginsGuide->_invalidate();
}

UIEdgeInsets UIView::_effectiveLayoutMargins() const {
    UIEdgeInsets margins = m_layoutMargins;
    auto superview = this->superview();
    if (!m_preservesSuperviewLayoutMargins || !superview)
        return margins;
    UIEdgeInsets outer = superview->_effectiveLayoutMargins();
    CGRect frame = this->frame();
    CGSize outerSize = superview->bounds().size;
    margins.left = std::max(margins.left, outer.left - frame.origin.x);
    margins.top = std::max(margins.top, outer.top - frame.origin.y);
    margins.right = std::max(margins.right, outer.right - (outerSize.width - CGRectGetMaxX(frame)));
    margins.bottom = std::max(margins.bottom, outer.bottom - (outerSize.height - CGRectGetMaxY(frame)));
    return margins;
}

std::shared_ptr<UILayoutGuide> UIView::layoutMarginsGuide() {
    if (!m_layoutMarginsGuide)
        m_layoutMarginsGuide =
            std::make_shared<UILayoutGuide>(*this, UILayoutGuide::Kind::Margins, "UIViewLayoutMarginsGuide");
    return m_layoutMarginsGuide;
}

// --- Safe area --------------------------------------------------------------------------------------------

UIEdgeInsets UIView::safeAreaInsets() const {
    if (m_hasOwnSafeArea)
        return m_safeAreaInsets;
    auto superview = this->superview();
    if (!superview)
        return UIEdgeInsetsZero;
    UIEdgeInsets outer = superview->safeAreaInsets();
    if (outer == UIEdgeInsetsZero)
        return outer;
    CGRect frame = this->frame();
    CGSize outerSize = superview->bounds().size;
    return {std::max<CGFloat>(0, outer.top - frame.origin.y),
            std::max<CGFloat>(0, outer.left - frame.origin.x),
            std::max<CGFloat>(0, outer.bottom - (outerSize.height - CGRectGetMaxY(frame))),
            std::max<CGFloat>(0, outer.right - (outerSize.width - CGRectGetMaxX(frame)))};
}

void UIView::_setSafeAreaInsets(UIEdgeInsets insets) {
    bool changed = !m_hasOwnSafeArea || insets != m_safeAreaInsets;
    m_hasOwnSafeArea = true;
    m_safeAreaInsets = insets;
    if (changed)
        safeAreaDidChangeInSubtree();
}

void UIView::safeAreaDidChangeInSubtree() {
    invalidateOwnedGuides();
    setNeedsLayout();
    safeAreaInsetsDidChange();
    for (auto subviews = m_subviews; const auto& subview : subviews)
        if (!subview->m_hasOwnSafeArea)
            subview->safeAreaDidChangeInSubtree();
}

void UIView::invalidateOwnedGuides() {
    for (const auto& guide : m_ownedGuides)
        guide->_invalidate();
}

std::shared_ptr<UILayoutGuide> UIView::_ownedLayoutGuide(int kind, const char* identifier) {
    auto guideKind = static_cast<UILayoutGuide::Kind>(kind);
    for (const auto& guide : m_ownedGuides)
        if (guide->_kind() == guideKind)
            return guide;
    m_ownedGuides.push_back(std::make_shared<UILayoutGuide>(*this, guideKind, identifier));
    return m_ownedGuides.back();
}

// --- The engine and the layout pass ---------------------------------------------------------------------

std::shared_ptr<NSObject> UIView::_layoutObject() {
    return weak_from_this().lock();
}

std::string UIView::_layoutItemDescription() const {
    char text[128];
    std::snprintf(text, sizeof text, "%s:%p", className(), static_cast<const void*>(this));
    return text;
}

UIView& UIView::_layoutRoot() {
    UIView* view = this;
    while (auto superview = view->superview())
        view = superview.get();
    return *view;
}

const UIView& UIView::_layoutRoot() const {
    return const_cast<UIView*>(this)->_layoutRoot();
}

platform::LayoutEngine& UIView::_layoutEngineOfTree() {
    UIView& root = _layoutRoot();
    if (!root.m_layoutEngine)
        root.m_layoutEngine = std::make_unique<platform::LayoutEngine>(root);
    return *root.m_layoutEngine;
}

void UIView::_setNeedsLayoutEngineUpdate() {
    UIView& root = _layoutRoot();
    if (root.m_layoutEngine)
        root.m_layoutEngine->setNeedsUpdate();
}

void UIView::setNeedsLayout() {
    m_needsLayout = true;
    markSubtreeNeedsLayout();
}

// Every ancestor up to the top learns that something below needs layout.
void UIView::markSubtreeNeedsLayout() {
    for (UIView* view = this; view; view = view->superview().get())
        view->m_subtreeNeedsLayout = true;
}

void UIView::layoutIfNeeded() {
    auto root = _layoutRoot().selfAs<UIView>();
    if (!root)
        return;
    for (int round = 0; round < kMaximumLayoutRounds; ++round) {
        root->_layoutEngineOfTree().updateIfNeeded();
        if (!root->m_needsLayout && !root->m_subtreeNeedsLayout)
            return;
        root->layoutSubtreeIfNeeded(0);
    }
}

void UIView::layoutSubtreeIfNeeded(int depth) {
    m_subtreeNeedsLayout = false;
    if (m_needsLayout) {
        m_needsLayout = false;
        auto controller = _viewDelegate();
        if (controller)
            controller->viewWillLayoutSubviews();
        layoutSubviews();
        if (controller)
            controller->viewDidLayoutSubviews();
    }
    for (auto subviews = m_subviews; const auto& subview : subviews)
        if ((subview->m_needsLayout || subview->m_subtreeNeedsLayout) && subview->superview().get() == this)
            subview->layoutSubtreeIfNeeded(depth + 1);
}

void UIView::layoutSubviews() {
    auto& engine = _layoutEngineOfTree();
    engine.updateIfNeeded();
    for (auto subviews = m_subviews; const auto& subview : subviews) {
        if (subview->m_translatesAutoresizingMask)
            continue;
        if (auto frame = engine.solvedFrame(*subview))
            subview->_setFrameFromLayout(*frame);
    }
}
