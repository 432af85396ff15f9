#include "platform/uikit/UISwitch.h"

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

bool UISwitch::_applyAppearanceValue(std::string_view property, const id& value) {
    if (property != "onTintColor")
        return UIControl::_applyAppearanceValue(property, value);
    if (!_isPropertySetExplicitly(property))
        m_onTintColor = std::dynamic_pointer_cast<UIColor>(value);
    return true;
}
