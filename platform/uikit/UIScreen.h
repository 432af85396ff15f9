#pragma once

#include <memory>

#include "platform/runtime/NSObject.h"
#include "platform/uikit/CGGeometry.h"

class UITraitCollection;

// The simulated device's screen. Its scale, size and size class are the device's
// (platform::SimulatedDevice), read on every call, so a host or test that changes the device sees the
// screen follow.
class UIScreen : public NSObject {
public:
    static std::shared_ptr<UIScreen> mainScreen();

    // Pixels per point: 1, 2 or 3 on real devices.
    double scale() const;
    double nativeScale() const { return scale(); }
    // At the origin, the device's screen size in points.
    CGRect bounds() const;
    // A collection holding the screen's display scale and horizontal size class.
    std::shared_ptr<UITraitCollection> traitCollection() const;
};

using UIScreenPtr = std::shared_ptr<UIScreen>;
