#include "platform/uikit/UISlider.h"

#include <algorithm>

#include "platform/uikit/UITouch.h"

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

double UISlider::valueAtPoint(CGPoint point) const {
    CGRect box = bounds();
    CGFloat width = box.size.width - 2 * thumbRadius;
    double along = width > 0 ? (point.x - box.origin.x - thumbRadius) / width : 0;
    along = std::clamp(along, 0.0, 1.0);
    return m_minimumValue + along * (m_maximumValue - m_minimumValue);
}

double UISlider::fraction() const {
    double span = m_maximumValue - m_minimumValue;
    return span > 0 ? (m_value - m_minimumValue) / span : 0;
}

bool UISlider::followTouch(const std::shared_ptr<UITouch>& touch) {
    double before = m_value;
    setValue(valueAtPoint(touch->locationInView(selfAs<UIView>())));
    return m_value != before;
}

bool UISlider::beginTrackingWithTouch(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>&) {
    m_valueAtTouchDown = m_value;
    if (followTouch(touch) && m_continuous)
        sendActionsForControlEvents(UIControlEventValueChanged);
    return true;
}

bool UISlider::continueTrackingWithTouch(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>&) {
    if (followTouch(touch) && m_continuous)
        sendActionsForControlEvents(UIControlEventValueChanged);
    return true;
}

void UISlider::endTrackingWithTouch(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>&) {
    bool moved = followTouch(touch);
    if (m_continuous ? moved : m_value != m_valueAtTouchDown)
        sendActionsForControlEvents(UIControlEventValueChanged);
}
