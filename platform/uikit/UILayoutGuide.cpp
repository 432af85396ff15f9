#include "platform/uikit/UILayoutGuide.h"

#include <cstdio>

#include "platform/uikit/UIView.h"

namespace {

[[maybe_unused]] const Class registeredGuide =
    platform::registerClass<UILayoutGuide>("UILayoutGuide");

} // namespace

UILayoutGuide::UILayoutGuide(UIView& owningView, Kind kind, std::string identifier)
    : m_owningView(&owningView), m_identifier(std::move(identifier)), m_kind(kind) {}

std::shared_ptr<NSObject> UILayoutGuide::_layoutObject() {
    return weak_from_this().lock();
}

CGRect UILayoutGuide::layoutFrame() const {
    if (!m_owningView)
        return CGRectZero;
    CGRect bounds{CGPointZero, m_owningView->bounds().size};
    UIEdgeInsets safeArea = m_owningView->safeAreaInsets();
    switch (m_kind) {
    case Kind::Margins:
        return UIEdgeInsetsInsetRect(bounds, m_owningView->_effectiveLayoutMargins());
    case Kind::SafeArea:
        return UIEdgeInsetsInsetRect(bounds, safeArea);
    case Kind::TopLayout:
        return CGRectMake(0, 0, bounds.size.width, safeArea.top);
    case Kind::BottomLayout:
        return CGRectMake(0, bounds.size.height - safeArea.bottom, bounds.size.width, safeArea.bottom);
    case Kind::Frame:
        return m_owningView->frame();
    case Kind::Content:
        break;
    }
    return CGRectMake(_minX().value() - m_owningView->_minX().value(),
                      _minY().value() - m_owningView->_minY().value(), _width().value(), _height().value());
}

std::string UILayoutGuide::_layoutItemDescription() const {
    char text[96];
    std::snprintf(text, sizeof text, "UILayoutGuide:%p'", static_cast<const void*>(this));
    return text + m_identifier + "'";
}
