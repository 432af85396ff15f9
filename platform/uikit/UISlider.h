#pragma once

#include <string_view>

#include "platform/uikit/UIAppearance.h"
#include "platform/uikit/UIControl.h"

// A slider whose value stays within [minimumValue, maximumValue].
class UISlider : public UIControl, public UIAppearance<UISlider> {
public:
    static constexpr std::string_view appearanceClassName = "UISlider";

    UISlider() = default;

    double value() const { return m_value; }
    void setValue(double value, bool animated = false);
    double minimumValue() const { return m_minimumValue; }
    // Moving one bound past the other drags that one along; the value is clamped again.
    void setMinimumValue(double minimum);
    double maximumValue() const { return m_maximumValue; }
    void setMaximumValue(double maximum);

private:
    double m_value = 0;
    double m_minimumValue = 0;
    double m_maximumValue = 1;
    bool m_continuous = true;
};
