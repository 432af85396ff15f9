#pragma once

#include <memory>

#include "platform/uikit/CGGeometry.h"

class UIView;
class UIWindow;

namespace platform {

// A finger for hosts and tests: touches a window at a point (window coordinates, which are the
// screen's for a window that fills it) the way the device does: the window hit-tests the point and
// the view found gets the touch's phases through the window's sendEvent.
class TouchScreen {
public:
    // Touches down and lifts at the same point. Returns the view that was hit; nullptr when nothing
    // there takes touches (the touch is then dropped).
    static std::shared_ptr<UIView> tap(UIWindow& window, CGPoint point);
    // Touches down at `from`, moves to `to` and lifts there.
    static std::shared_ptr<UIView> drag(UIWindow& window, CGPoint from, CGPoint to);
};

} // namespace platform
