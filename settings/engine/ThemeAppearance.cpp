#include "settings/engine/ThemeAppearance.h"

#include <string_view>

#include "platform/runtime/ObjCRuntime.h"
#include "platform/uikit/AppearanceProxy.h"

namespace corvale {

UIColorPtr ThemeAppearance::defaultHeaderColour() {
    return UIColor::colorWithRed(0.47, 0.53, 0.97, 1.0);
}

void ThemeAppearance::applyTintInside(Class pageClass, const UIColorPtr& tint) {
    using platform::AppearanceProxy;
    const std::vector<Class> containers{pageClass};
    AppearanceProxy::appearanceForClass(objc_getClass("UISwitch"), containers)->setOnTintColor(tint);
    for (std::string_view control :
         {"UITextField", "UIButton", "UITextView", "UIStepper", "UISegmentedControl", "UISlider"})
        AppearanceProxy::appearanceForClass(objc_getClass(control), containers)->setTintColor(tint);
}

} // namespace corvale
