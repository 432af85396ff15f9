#pragma once

#include "platform/runtime/NSObject.h"
#include "platform/uikit/UIColor.h"

namespace corvale {

// The page theme's defaults and the control tints that a page sets for the controls inside it.
class ThemeAppearance {
public:
    static UIColorPtr defaultHeaderColour();
    // Switches get the colour as their on-tint; text fields, buttons, text views, steppers,
    // segmented controls and sliders as their tint. Only inside pages of pageClass, so a sub-page's
    // theme never leaks into the root page's controls or into other panes.
    static void applyTintInside(Class pageClass, const UIColorPtr& tint);
};

} // namespace corvale
