#include "platform/uikit/UISwitch.h"

#include "platform/uikit/UITouch.h"

namespace {

[[maybe_unused]] const Class registeredSwitch = platform::registerClass<UISwitch, UIControl>();

} // namespace

void UISwitch::setOn(bool on, bool) {
    m_on = on;
}

void UISwitch::setOnTintColor(const UIColorPtr& color) {
    markPropertySetExplicitly("onTintColor");
    m_onTintColor = color;
}

void UISwitch::endTrackingWithTouch(const std::shared_ptr<UITouch>&, const std::shared_ptr<UIEvent>&) {
    if (!isTouchInside())
        return;
    setOn(!m_on, true);
    sendActionsForControlEvents(UIControlEventValueChanged);
}

bool UISwitch::_applyAppearanceValue(std::string_view property, const id& value) {
    if (property != "onTintColor")
        return UIControl::_applyAppearanceValue(property, value);
    if (!_isPropertySetExplicitly(property))
        m_onTintColor = std::dynamic_pointer_cast<UIColor>(value);
    return true;
}
