#include "platform/uikit/LayoutItem.h"

#include "platform/runtime/NSObject.h"
#include "platform/uikit/LayoutEngine.h"
#include "platform/uikit/NSLayoutDimension.h"
#include "platform/uikit/NSLayoutXAxisAnchor.h"
#include "platform/uikit/NSLayoutYAxisAnchor.h"

namespace platform {

LayoutItem::LayoutItem() = default;
LayoutItem::~LayoutItem() = default;

std::shared_ptr<LayoutItem> LayoutItem::_layoutItemHandle() {
    return std::dynamic_pointer_cast<LayoutItem>(_layoutObject());
}

std::shared_ptr<NSLayoutXAxisAnchor> LayoutItem::leadingAnchor() {
    return std::make_shared<NSLayoutXAxisAnchor>(_layoutItemHandle(), NSLayoutAttributeLeading);
}
std::shared_ptr<NSLayoutXAxisAnchor> LayoutItem::trailingAnchor() {
    return std::make_shared<NSLayoutXAxisAnchor>(_layoutItemHandle(), NSLayoutAttributeTrailing);
}
std::shared_ptr<NSLayoutXAxisAnchor> LayoutItem::leftAnchor() {
    return std::make_shared<NSLayoutXAxisAnchor>(_layoutItemHandle(), NSLayoutAttributeLeft);
}
std::shared_ptr<NSLayoutXAxisAnchor> LayoutItem::rightAnchor() {
    return std::make_shared<NSLayoutXAxisAnchor>(_layoutItemHandle(), NSLayoutAttributeRight);
}
std::shared_ptr<NSLayoutXAxisAnchor> LayoutItem::centerXAnchor() {
    return std::make_shared<NSLayoutXAxisAnchor>(_layoutItemHandle(), NSLayoutAttributeCenterX);
}
std::shared_ptr<NSLayoutYAxisAnchor> LayoutItem::topAnchor() {
    return std::make_shared<NSLayoutYAxisAnchor>(_layoutItemHandle(), NSLayoutAttributeTop);
}
std::shared_ptr<NSLayoutYAxisAnchor> LayoutItem::bottomAnchor() {
    return std::make_shared<NSLayoutYAxisAnchor>(_layoutItemHandle(), NSLayoutAttributeBottom);
}
std::shared_ptr<NSLayoutYAxisAnchor> LayoutItem::centerYAnchor() {
    return std::make_shared<NSLayoutYAxisAnchor>(_layoutItemHandle(), NSLayoutAttributeCenterY);
}
std::shared_ptr<NSLayoutDimension> LayoutItem::widthAnchor() {
    return std::make_shared<NSLayoutDimension>(_layoutItemHandle(), NSLayoutAttributeWidth);
}
std::shared_ptr<NSLayoutDimension> LayoutItem::heightAnchor() {
    return std::make_shared<NSLayoutDimension>(_layoutItemHandle(), NSLayoutAttributeHeight);
}

// Leading and trailing are left and right: the platform's text runs left to right here.
layout::Expression LayoutItem::_expressionFor(NSLayoutAttribute attribute) const {
    switch (attribute) {
    case NSLayoutAttributeLeft:
    case NSLayoutAttributeLeading:
        return m_minX;
    case NSLayoutAttributeRight:
    case NSLayoutAttributeTrailing:
        return m_minX + m_width;
    case NSLayoutAttributeCenterX:
        return m_minX + m_width * 0.5;
    case NSLayoutAttributeTop:
        return m_minY;
    case NSLayoutAttributeBottom:
        return m_minY + m_height;
    case NSLayoutAttributeCenterY:
        return m_minY + m_height * 0.5;
    case NSLayoutAttributeWidth:
        return m_width;
    case NSLayoutAttributeHeight:
        return m_height;
    case NSLayoutAttributeNotAnAttribute:
        break;
    }
    return layout::Expression(0.0);
}

void LayoutItem::invalidateOwnLayoutConstraints() {
    ++m_layoutRevision;
    if (m_engine)
        m_engine->setNeedsUpdate();
}

} // namespace platform
