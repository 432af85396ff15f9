#include "platform/uikit/UITextField.h"

namespace {

[[maybe_unused]] const Class registeredTextField =
    platform::registerClass<UITextField, UIControl>("UITextField");

bool isContinuationByte(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

std::string UITextField::displayedText() const {
    if (!m_secureTextEntry)
        return m_text;
    std::string bullets;
    for (char byte : m_text)
        if (!isContinuationByte(byte))
            bullets += "\u2022";
    return bullets;
}

bool UITextField::becomeFirstResponder() {
    if (isFirstResponder())
        return true;
    if (!UIControl::becomeFirstResponder())
        return false;
    sendActionsForControlEvents(UIControlEventEditingDidBegin);
    return true;
}

bool UITextField::resignFirstResponder() {
    bool wasEditing = isFirstResponder();
    UIControl::resignFirstResponder();
    if (wasEditing)
        sendActionsForControlEvents(UIControlEventEditingDidEnd);
    return true;
}

void UITextField::endTrackingWithTouch(const std::shared_ptr<UITouch>&, const std::shared_ptr<UIEvent>&) {
    if (isTouchInside())
        becomeFirstResponder();
}

void UITextField::insertText(std::string_view text) {
    if (text.empty())
        return;
    m_text += text;
    sendActionsForControlEvents(UIControlEventEditingChanged);
}

void UITextField::deleteBackward() {
    if (m_text.empty())
        return;
    std::size_t end = m_text.size() - 1;
    while (end > 0 && isContinuationByte(m_text[end]))
        --end;
    m_text.erase(end);
    sendActionsForControlEvents(UIControlEventEditingChanged);
}

void UITextField::returnKeyPressed() {
    sendActionsForControlEvents(UIControlEventEditingDidEndOnExit | UIControlEventPrimaryActionTriggered);
    resignFirstResponder();
}
