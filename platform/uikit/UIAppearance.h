#pragma once

#include <memory>
#include <vector>

#include "platform/runtime/ObjCRuntime.h"
#include "platform/uikit/AppearanceProxy.h"

// The appearance class methods of a control class T, which names its runtime class in
// T::appearanceClassName. The proxies write to platform::AppearanceRegistry. C++ subclasses inherit
// these members unchanged, so they give T's proxy; the proxy of any other class (a subclass of T
// registered at run time) comes from platform::AppearanceProxy::appearanceForClass.
template <class T> class UIAppearance {
public:
    static std::shared_ptr<platform::AppearanceProxy> appearance() {
        return std::make_shared<platform::AppearanceProxy>(objc_getClass(T::appearanceClassName),
                                                           std::vector<Class>{});
    }
    // The containers are the classes of views or view controllers around the control, innermost first.
    static std::shared_ptr<platform::AppearanceProxy>
    appearanceWhenContainedInInstancesOfClasses(std::vector<Class> containers) {
        return std::make_shared<platform::AppearanceProxy>(objc_getClass(T::appearanceClassName),
                                                           std::move(containers));
    }
};
