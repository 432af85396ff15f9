#include "platform/uikit/UIView.h"

#include <algorithm>

#include "platform/foundation/NSLog.h"
#include "platform/uikit/AppearanceRegistry.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/LayoutEngine.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/ResolvingTraits.h"
#include "platform/uikit/UILayoutGuide.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"

namespace {

[[maybe_unused]] const Class registeredResponder = platform::registerClass<UIResponder>();
[[maybe_unused]] const Class registeredView = platform::registerClass<UIView, UIResponder>();

bool isWindow(const UIView& view) {
    return dynamic_cast<const UIWindow*>(&view) != nullptr;
}

bool sameTraits(const std::shared_ptr<UITraitCollection>& lhs,
                const std::shared_ptr<UITraitCollection>& rhs) {
    return lhs == rhs || (lhs && rhs && lhs->isEqual(*rhs));
}

} // namespace

UIView::UIView() = default;

UIView::~UIView() {
    for (const auto& constraint : m_constraints)
        constraint->_detachFromHolder();
    if (m_layoutMarginsGuide)
        m_layoutMarginsGuide->_detachOwningView();
    for (const auto& guide : m_ownedGuides)
        guide->_detachOwningView();
}

std::shared_ptr<UIView> UIView::initWithFrame(CGRect frame) {
    setFrame(frame);
    return selfAs<UIView>();
}

// --- The tree -------------------------------------------------------------------------------------

void UIView::addSubview(const std::shared_ptr<UIView>& view) {
    insertSubview(view, m_subviews.size());
}

void UIView::insertSubview(const std::shared_ptr<UIView>& view, std::size_t index) {
    if (!view)
        return;
    auto self = selfAs<UIView>();
    if (!self || view == self || isDescendantOfView(view)) {
        NSLog("-[UIView addSubview:]: refusing to add %s to %s, which would make a cycle or an unowned "
              "superview",
              view->description().c_str(), description().c_str());
        return;
    }
    if (view->superview() == self) {
        m_subviews.erase(std::find(m_subviews.begin(), m_subviews.end(), view));
        m_subviews.insert(
            m_subviews.begin() + static_cast<std::ptrdiff_t>(std::min(index, m_subviews.size())), view);
        return;
    }

    auto newWindow = window();
    auto oldWindow = view->window();
    bool windowChanges = !isWindow(*view) && newWindow != oldWindow;
    auto previousTint = view->tintColor();
    auto previousTraits = view->traitCollection();

    if (auto oldSuperview = view->superview())
        oldSuperview->willRemoveSubview(view);
    view->willMoveToSuperview(self);
    if (auto oldSuperview = view->superview())
        oldSuperview->treeWillChangeFor(*view);
    if (windowChanges)
        view->propagateWillMoveToWindow(newWindow);

    if (auto oldSuperview = view->superview()) {
        auto& siblings = oldSuperview->m_subviews;
        siblings.erase(std::find(siblings.begin(), siblings.end(), view));
    }
    m_subviews.insert(m_subviews.begin() + static_cast<std::ptrdiff_t>(std::min(index, m_subviews.size())),
                      view);
    view->m_superview = self;
    view->m_layoutEngine.reset();
    view->captureAutoresizingReference();
    view->invalidateOwnLayoutConstraints();
    _setNeedsLayoutEngineUpdate();
    setNeedsLayout();
    if (view->m_needsLayout || view->m_subtreeNeedsLayout)
        view->markSubtreeNeedsLayout();

    if (windowChanges)
        view->propagateWindowChange(newWindow);
    view->didMoveToSuperview();
    didAddSubview(view);
    view->notifyContextChange(previousTint, previousTraits);
}

void UIView::removeFromSuperview() {
    auto superview = this->superview();
    auto self = selfAs<UIView>();
    if (!superview || !self)
        return;
    bool windowChanges = !isWindow(*this) && window() != nullptr;
    auto previousTint = tintColor();
    auto previousTraits = traitCollection();

    superview->willRemoveSubview(self);
    willMoveToSuperview(nullptr);
    if (windowChanges)
        propagateWillMoveToWindow(nullptr);
    superview->treeWillChangeFor(*this);

    auto& siblings = superview->m_subviews;
    siblings.erase(std::find(siblings.begin(), siblings.end(), self));
    m_superview.reset();
    captureAutoresizingReference();
    invalidateOwnLayoutConstraints();

    if (windowChanges)
        propagateWindowChange(nullptr);
    didMoveToSuperview();
    notifyContextChange(previousTint, previousTraits);
}

std::shared_ptr<UIWindow> UIView::window() const {
    if (auto self = dynamic_cast<const UIWindow*>(this))
        return std::const_pointer_cast<UIWindow>(self->selfAs<const UIWindow>());
    return m_window.lock();
}

bool UIView::isDescendantOfView(const std::shared_ptr<UIView>& view) const {
    if (!view)
        return false;
    if (view.get() == this)
        return true;
    for (auto ancestor = superview(); ancestor; ancestor = ancestor->superview())
        if (ancestor == view)
            return true;
    return false;
}

std::shared_ptr<UIView> UIView::viewWithTag(long tag) {
    if (m_tag == tag)
        return selfAs<UIView>();
    for (const auto& subview : m_subviews)
        if (auto found = subview->viewWithTag(tag))
            return found;
    return nullptr;
}

void UIView::willMoveToSuperview(const std::shared_ptr<UIView>&) {}
void UIView::didMoveToSuperview() {}
void UIView::willMoveToWindow(const std::shared_ptr<UIWindow>&) {}
void UIView::didMoveToWindow() {}
void UIView::didAddSubview(const std::shared_ptr<UIView>&) {}
void UIView::willRemoveSubview(const std::shared_ptr<UIView>&) {}

void UIView::propagateWillMoveToWindow(const std::shared_ptr<UIWindow>& newWindow) {
    // A first responder that leaves its window stops being one (editing ends).
    if (isFirstResponder() && newWindow != window())
        resignFirstResponder();
    willMoveToWindow(newWindow);
    for (auto subviews = m_subviews; const auto& subview : subviews)
        if (!isWindow(*subview))
            subview->propagateWillMoveToWindow(newWindow);
}

void UIView::propagateWindowChange(const std::shared_ptr<UIWindow>& newWindow) {
    setWindowOfSubtree(newWindow);
    finishWindowChange(newWindow != nullptr);
}

void UIView::setWindowOfSubtree(const std::shared_ptr<UIWindow>& newWindow) {
    m_window = newWindow;
    for (const auto& subview : m_subviews)
        if (!isWindow(*subview))
            subview->setWindowOfSubtree(newWindow);
}

void UIView::finishWindowChange(bool enteredWindow) {
    for (auto subviews = m_subviews; const auto& subview : subviews)
        if (!isWindow(*subview))
            subview->finishWindowChange(enteredWindow);
    if (enteredWindow)
        applyAppearanceProxies();
    didMoveToWindow();
}

// A view that moved may now inherit another tint and sit under other traits.
void UIView::notifyContextChange(const UIColorPtr& previousTint,
                                 const std::shared_ptr<UITraitCollection>& previousTraits) {
    if (!m_tintColor && tintColor() != previousTint)
        propagateTintColorChange();
    if (!sameTraits(traitCollection(), previousTraits))
        propagateTraitChange(previousTraits);
}

// --- Appearance -----------------------------------------------------------------------------------

void UIView::setBackgroundColor(const UIColorPtr& color) {
    markPropertySetExplicitly("backgroundColor");
    m_backgroundColor = color;
}

UIColorPtr UIView::tintColor() const {
    if (m_tintColor)
        return m_tintColor;
    for (auto ancestor = superview(); ancestor; ancestor = ancestor->superview())
        if (ancestor->m_tintColor)
            return ancestor->m_tintColor;
    return UIColor::systemBlueColor();
}

void UIView::setTintColor(const UIColorPtr& color) {
    markPropertySetExplicitly("tintColor");
    setTintColorValue(color);
}

void UIView::setTintColorValue(const UIColorPtr& color) {
    m_tintColor = color;
    propagateTintColorChange();
}

void UIView::propagateTintColorChange() {
    tintColorDidChange();
    for (auto subviews = m_subviews; const auto& subview : subviews)
        if (!subview->m_tintColor)
            subview->propagateTintColorChange();
}

void UIView::setHidden(bool hidden) {
    if (hidden == m_hidden)
        return;
    m_hidden = hidden;
    if (auto superview = this->superview())
        superview->subviewDidChangeHidden(selfAs<UIView>());
}

void UIView::subviewDidChangeHidden(const std::shared_ptr<UIView>&) {}

std::shared_ptr<UITraitCollection> UIView::traitCollection() const {
    if (auto window = this->window())
        return window->traitCollection();
    return platform::resolvingTraitCollection();
}

void UIView::traitCollectionDidChange(const std::shared_ptr<UITraitCollection>&) {}

void UIView::propagateTraitChange(const std::shared_ptr<UITraitCollection>& previous) {
    traitCollectionDidChange(previous);
    for (auto subviews = m_subviews; const auto& subview : subviews)
        if (!isWindow(*subview))
            subview->propagateTraitChange(previous);
}

// --- Ownership and appearance proxies ---------------------------------------------------------------

bool UIView::_applyAppearanceValue(std::string_view property, const id& value) {
    auto color = std::dynamic_pointer_cast<UIColor>(value);
    if (property == "tintColor") {
        if (!_isPropertySetExplicitly(property))
            setTintColorValue(color);
        return true;
    }
    if (property == "backgroundColor") {
        if (!_isPropertySetExplicitly(property))
            m_backgroundColor = color;
        return true;
    }
    return false;
}

bool UIView::_isPropertySetExplicitly(std::string_view property) const {
    return m_explicitProperties.find(property) != m_explicitProperties.end();
}

void UIView::markPropertySetExplicitly(std::string_view property) {
    m_explicitProperties.emplace(property);
}

void UIView::applyAppearanceProxies() {
    for (const auto& [property, value] : platform::AppearanceRegistry::shared().valuesForView(*this))
        _applyAppearanceValue(property, value);
}
