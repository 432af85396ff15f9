#include "platform/uikit/UISlider.h"

#include <algorithm>

namespace {

[[maybe_unused]] const Class registeredSlider = platform::registerClass<UISlider, UIControl>("UISlider");

} // namespace

void UISlider::setValue(double value, bool) {
    // Written so that NaN leaves the value alone.
    if (value == value)
        m_value = std::clamp(value, m_minimumValue, m_maximumValue);
}

void UISlider::setMinimumValue(double minimum) {
    if (minimum != minimum)
        return;
    m_minimumValue = minimum;
    m_maximumValue = std::max(m_maximumValue, minimum);
    setValue(m_value);
}

void UISlider::setMaximumValue(double maximum) {
    if (maximum != maximum)
        return;
    m_maximumValue = maximum;
    m_minimumValue = std::min(m_minimumValue, maximum);
    setValue(m_value);
}
