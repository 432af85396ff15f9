#include "uikit/UILayoutGuide.h"

#include <cstdio>

#include "uikit/UIView.h"

namespace {

[[maybe_unused]] const Class registeredGuide =
    platform::registerClass<UILayoutGuide>("UILayoutGuide", "NSObject");

} // namespace

UILayoutGuide::UILayoutGuide(UIView& owningView, Kind kind, std::string identifier)
    : m_owningView(&owningView), m_identifier(std::move(identifier)), m_kind(kind) {}

std::shared_ptr<NSObject> UILayoutGuide::_layoutObject() {
    return weak_from_this().lock();
}

CGRect UILayoutGuide::layoutFrame() const {
    if (!m_owningView)
        return CGRectZero;
    if (m_kind == Kind::Margins)
        return UIEdgeInsetsInsetRect({CGPointZero, m_owningView->bounds().size},
                                     m_owningView->_effectiveLayoutMargins());
    if (m_kind == Kind::Frame)
        return m_owningView->frame();
    return CGRectMake(_minX().value() - m_owningView->_minX().value(),
                      _minY().value() - m_owningView->_minY().value(), _width().value(), _height().value());
}

std::string UILayoutGuide::_layoutItemDescription() const {
    char text[96];
    std::snprintf(text, sizeof text, "UILayoutGuide:%p'", static_cast<const void*>(this));
    return text + m_identifier + "'";
}
