#pragma once

#include <string_view>

#include "platform/uikit/UIAppearance.h"
#include "platform/uikit/UIControl.h"

// An on/off switch. The "on" track takes onTintColor (from an appearance proxy unless set here).
class UISwitch : public UIControl, public UIAppearance<UISwitch> {
public:
    static constexpr platform::RegisteredName<UISwitch> registeredName{"UISwitch"};
    static constexpr std::string_view appearanceClassName = "UISwitch";

    UISwitch() = default;

    bool isOn() const { return m_on; }
    // Sends no action, as on the platform: a user's toggle is setOn plus ValueChanged.
    void setOn(bool on, bool animated = false);
    const UIColorPtr& onTintColor() const { return m_onTintColor; }
    void setOnTintColor(const UIColorPtr& color);

    bool _applyAppearanceValue(std::string_view property, const id& value) override;

    // A touch lifted inside flips the switch and sends ValueChanged.
    void endTrackingWithTouch(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event) override;

private:
    UIColorPtr m_onTintColor;
    UIColorPtr m_thumbTintColor;
    bool m_on = false;
};
