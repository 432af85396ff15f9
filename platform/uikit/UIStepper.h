#pragma once

#include <string_view>

#include "platform/uikit/UIAppearance.h"
#include "platform/uikit/UIControl.h"

// A +/- stepper. The value stays within [minimumValue, maximumValue].
class UIStepper : public UIControl, public UIAppearance<UIStepper> {
public:
    static constexpr std::string_view appearanceClassName = "UIStepper";

    UIStepper() = default;

    double value() const { return m_value; }
    void setValue(double value);
    double minimumValue() const { return m_minimumValue; }
    // Raises the maximum too when it would fall below the new minimum, and clamps the value.
    void setMinimumValue(double minimum);
    double maximumValue() const { return m_maximumValue; }
    void setMaximumValue(double maximum);

private:
    void moveBy(double delta);

    double m_value = 0;
    double m_minimumValue = 0;
    double m_maximumValue = 100;
    double m_stepValue = 1;
};
