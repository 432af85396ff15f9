#include "platform/uikit/UIActivityIndicatorView.h"

namespace {

[[maybe_unused]] const Class registeredActivityIndicator =
    platform::registerClass<UIActivityIndicatorView, UIView>("UIActivityIndicatorView");

} // namespace

UIActivityIndicatorView::UIActivityIndicatorView()
    : UIActivityIndicatorView(UIActivityIndicatorViewStyle::Medium) {}

UIActivityIndicatorView::UIActivityIndicatorView(UIActivityIndicatorViewStyle style) : m_style(style) {
    UIView::setHidden(true);
}
