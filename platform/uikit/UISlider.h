#pragma once

#include <string_view>

#include "platform/uikit/UIAppearance.h"
#include "platform/uikit/UIControl.h"

// A slider whose value stays within [minimumValue, maximumValue]. A touch moves the thumb to the
// finger: the track runs between the thumb's centre at either end. A continuous slider sends
// ValueChanged as the value moves, another once when the finger lifts.
class UISlider : public UIControl, public UIAppearance<UISlider> {
public:
    static constexpr std::string_view appearanceClassName = "UISlider";

    static constexpr CGFloat thumbRadius = 14;

    UISlider() = default;

    double value() const { return m_value; }
    void setValue(double value, bool animated = false);
    double minimumValue() const { return m_minimumValue; }
    // Moving one bound past the other drags that one along; the value is clamped again.
    void setMinimumValue(double minimum);
    double maximumValue() const { return m_maximumValue; }
    void setMaximumValue(double maximum);
    // A continuous slider reports every move of the thumb; otherwise only where the touch ends.
    bool isContinuous() const { return m_continuous; }
    void setContinuous(bool continuous) { m_continuous = continuous; }

    // The value under a point in the bounds' coordinates.
    double valueAtPoint(CGPoint point) const;
    // Where the thumb's centre is along the track for the current value, from 0 to 1.
    double fraction() const;

    bool beginTrackingWithTouch(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event) override;
    bool continueTrackingWithTouch(const std::shared_ptr<UITouch>& touch,
                                   const std::shared_ptr<UIEvent>& event) override;
    void endTrackingWithTouch(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event) override;

private:
    // Moves to the touch; true when the value changed.
    bool followTouch(const std::shared_ptr<UITouch>& touch);

    double m_value = 0;
    double m_valueAtTouchDown = 0;
    double m_minimumValue = 0;
    double m_maximumValue = 1;
    bool m_continuous = true;
};
