#include "platform/uikit/SimulatedKeyboard.h"

#include <memory>

#include "platform/uikit/UIKeyInput.h"
#include "platform/uikit/UIWindow.h"

namespace platform {

namespace {

std::shared_ptr<UIKeyInput> keyInputOf(const UIWindow& window) {
    return std::dynamic_pointer_cast<UIKeyInput>(window._firstResponder());
}

} // namespace

bool SimulatedKeyboard::isShown(const UIWindow& window) {
    return keyInputOf(window) != nullptr;
}

bool SimulatedKeyboard::type(UIWindow& window, std::string_view text) {
    auto input = keyInputOf(window);
    if (!input)
        return false;
    input->insertText(text);
    return true;
}

bool SimulatedKeyboard::pressReturn(UIWindow& window) {
    auto input = keyInputOf(window);
    if (!input)
        return false;
    input->returnKeyPressed();
    return true;
}

bool SimulatedKeyboard::deleteBackward(UIWindow& window) {
    auto input = keyInputOf(window);
    if (!input)
        return false;
    input->deleteBackward();
    return true;
}

} // namespace platform
