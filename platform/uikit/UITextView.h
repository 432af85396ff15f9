#pragma once

#include <string>
#include <string_view>

#include "platform/uikit/UIAppearance.h"
#include "platform/uikit/UIView.h"

// A multi-line text view (a scroll view on the platform; scrolling joins later).
class UITextView : public UIView, public UIAppearance<UITextView> {
public:
    static constexpr std::string_view appearanceClassName = "UITextView";

    UITextView() = default;

    const std::string& text() const { return m_text; }
    void setText(std::string text) { m_text = std::move(text); }

private:
    std::string m_text;
    bool m_editable = true;
};
