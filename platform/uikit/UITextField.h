#pragma once

#include <string>
#include <string_view>

#include "platform/uikit/UIAppearance.h"
#include "platform/uikit/UIControl.h"

// A one-line text entry.
class UITextField : public UIControl, public UIAppearance<UITextField> {
public:
    static constexpr std::string_view appearanceClassName = "UITextField";

    UITextField() = default;

    const std::string& text() const { return m_text; }
    void setText(std::string text) { m_text = std::move(text); }
    const std::string& placeholder() const { return m_placeholder; }

private:
    std::string m_text;
    std::string m_placeholder;
    bool m_secureTextEntry = false;
};
