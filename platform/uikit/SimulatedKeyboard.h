#pragma once

#include <string_view>

class UIWindow;

namespace platform {

// The on-screen keyboard of the simulated device. It shows while the window's first responder takes
// text, and its keys go to that responder.
class SimulatedKeyboard {
public:
    static bool isShown(const UIWindow& window);
    // Types the text into the first responder; false when the keyboard is not shown.
    static bool type(UIWindow& window, std::string_view text);
    static bool pressReturn(UIWindow& window);
    static bool deleteBackward(UIWindow& window);
};

} // namespace platform
