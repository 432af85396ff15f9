#include "platform/uikit/UIActivityIndicatorView.h"

namespace {

[[maybe_unused]] const Class registeredActivityIndicator =
    platform::registerClass<UIActivityIndicatorView>("UIActivityIndicatorView", "UIView");

} // namespace

UIActivityIndicatorView::UIActivityIndicatorView()
    : UIActivityIndicatorView(UIActivityIndicatorViewStyle::Medium) {}

UIActivityIndicatorView::UIActivityIndicatorView(UIActivityIndicatorViewStyle style) : m_style(style) {
    UIView::setHidden(true);
}

void UIActivityIndicatorView::startAnimating() {
    m_animating = true;
    if (m_hidesWhenStopped)
        setHidden(false);
}

void UIActivityIndicatorView::stopAnimating() {
    m_animating = false;
    if (m_hidesWhenStopped)
        setHidden(true);
}

void UIActivityIndicatorView::setHidesWhenStopped(bool hides) {
    m_hidesWhenStopped = hides;
    if (hides && !m_animating)
        setHidden(true);
}
