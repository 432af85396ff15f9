#include "platform/uikit/UIStepper.h"

#include <algorithm>

namespace {

[[maybe_unused]] const Class registeredStepper = platform::registerClass<UIStepper, UIControl>("UIStepper");

} // namespace

void UIStepper::setValue(double value) {
    // Written so that NaN leaves the value alone.
    if (value == value)
        m_value = std::clamp(value, m_minimumValue, m_maximumValue);
}

void UIStepper::setMinimumValue(double minimum) {
    if (minimum != minimum)
        return;
    m_minimumValue = minimum;
    m_maximumValue = std::max(m_maximumValue, minimum);
    setValue(m_value);
}

void UIStepper::setMaximumValue(double maximum) {
    if (maximum != maximum)
        return;
    m_maximumValue = maximum;
    m_minimumValue = std::min(m_minimumValue, maximum);
    setValue(m_value);
}

void UIStepper::moveBy(double delta) {
    double previous = m_value;
    setValue(m_value + delta);
    if (m_value != previous)
        sendActionsForControlEvents(UIControlEventValueChanged);
}
