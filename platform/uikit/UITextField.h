#pragma once

#include <string>
#include <string_view>

#include "platform/uikit/UIAppearance.h"
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UIKeyInput.h"

enum class UIKeyboardType : int { Default = 0, NumbersAndPunctuation = 2, URL = 3, NumberPad = 4, PhonePad = 5,
                                  EmailAddress = 7, DecimalPad = 8 };

// A one-line text entry. A touch lifted inside makes it the first responder (editing begins and
// the keyboard shows); typed text goes in at the end with EditingChanged; the keyboard's return
// key sends EditingDidEndOnExit and ends editing, which sends EditingDidEnd. Setting the text in
// code sends nothing, as on the platform.
class UITextField : public UIControl, public UIAppearance<UITextField>, public UIKeyInput {
public:
    static constexpr std::string_view appearanceClassName = "UITextField";

    UITextField() = default;

    const std::string& text() const { return m_text; }
    void setText(std::string text) { m_text = std::move(text); }
    const std::string& placeholder() const { return m_placeholder; }
    void setPlaceholder(std::string placeholder) { m_placeholder = std::move(placeholder); }
    bool isSecureTextEntry() const { return m_secureTextEntry; }
    void setSecureTextEntry(bool secure) { m_secureTextEntry = secure; }
    UIKeyboardType keyboardType() const { return m_keyboardType; }
    void setKeyboardType(UIKeyboardType type) { m_keyboardType = type; }
    // What the field shows: the text, or one bullet per character for secure entry.
    std::string displayedText() const;
    bool isEditing() const { return isFirstResponder(); }

    bool canBecomeFirstResponder() const override { return isEnabled(); }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    void endTrackingWithTouch(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event) override;

    // UIKeyInput
    bool hasText() const override { return !m_text.empty(); }
    void insertText(std::string_view text) override;
    void deleteBackward() override;
    void returnKeyPressed() override;

private:
    std::string m_text;
    std::string m_placeholder;
    UIKeyboardType m_keyboardType = UIKeyboardType::Default;
    bool m_secureTextEntry = false;
};
