#pragma once

#include "platform/render/DrawingContext.h"

class UIWindow;

namespace platform::render {

// The 20-point status bar over the top of the screen: the time in the middle and a battery at the
// right, dark on light content and light on a dark appearance or a dark bar.
class StatusBarPainter {
public:
    static void paint(const DrawingContext& context, UIWindow& window);
};

} // namespace platform::render
