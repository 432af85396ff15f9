#pragma once

#include <string_view>

// What the keyboard types into: the first responder, when it takes text.
class UIKeyInput {
public:
    virtual ~UIKeyInput() = default;
    virtual bool hasText() const = 0;
    virtual void insertText(std::string_view text) = 0;
    // Removes the last character (a whole UTF-8 sequence).
    virtual void deleteBackward() = 0;
    // The keyboard's return key.
    virtual void returnKeyPressed() = 0;
};
