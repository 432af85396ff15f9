#include "platform/uikit/UIView.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"

namespace {

// Views fainter than this are treated as gone by hit-testing, as on the platform.
constexpr double minimumHitAlpha = 0.01;

} // namespace

std::shared_ptr<UIView> UIView::hitTest(CGPoint point, const std::shared_ptr<UIEvent>& event) {
    if (m_hidden || !m_userInteractionEnabled || m_alpha < minimumHitAlpha || !pointInside(point, event))
        return nullptr;
    auto self = selfAs<UIView>();
    // Copied: a view may change the tree while it is asked.
    auto subviews = m_subviews;
    // The topmost (last) subview is asked first.
    for (auto position = subviews.rbegin(); position != subviews.rend(); ++position) {
        const auto& subview = *position;
        if (!subview)
            continue;
        if (auto hit = subview->hitTest(subview->convertPointFromView(point, self), event))
            return hit;
    }
    return self;
}

bool UIView::pointInside(CGPoint point, const std::shared_ptr<UIEvent>&) const {
    return CGRectContainsPoint(m_bounds, point);
}

std::shared_ptr<UIResponder> UIView::nextResponder() const {
    if (auto controller = m_viewDelegate.lock())
        return controller;
    return superview();
}

bool UIView::becomeFirstResponder() {
    auto window = this->window();
    if (!window || !canBecomeFirstResponder())
        return false;
    auto current = window->_firstResponder();
    if (current.get() == this)
        return true;
    if (current && !current->resignFirstResponder())
        return false;
    window->_setFirstResponder(selfAs<UIResponder>());
    return true;
}

bool UIView::resignFirstResponder() {
    if (auto window = this->window(); window && window->_firstResponder().get() == this)
        window->_setFirstResponder(nullptr);
    return true;
}

bool UIView::isFirstResponder() const {
    auto window = this->window();
    return window && window->_firstResponder().get() == this;
}

bool UIView::endEditing(bool) {
    auto window = this->window();
    auto first = window ? std::dynamic_pointer_cast<UIView>(window->_firstResponder()) : nullptr;
    if (!first || !(first.get() == this || first->isDescendantOfView(selfAs<UIView>())))
        return true;
    return first->resignFirstResponder();
}
