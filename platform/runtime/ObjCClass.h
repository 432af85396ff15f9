#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/runtime/ObjCRuntime.h"

// The runtime's view of a class. Internal to the runtime: every field is guarded by the class
// registry's lock, because a class named as a superclass before it is registered is completed later.
struct objc_class {
    enum class State {
        Placeholder, // named as a superclass, not registered yet
        Allocated,   // made by objc_allocateClassPair, not registered yet
        Registered,
    };

    struct Method {
        // Shared so a send copies a pointer, not the function, while it holds the lock.
        std::shared_ptr<const IMP> implementation;
        std::string types;
    };

    std::string name;
    Class superclass = nullptr;
    State state = State::Placeholder;
    platform::InstanceFactory factory;
    std::function<bool(const NSObject&)> isInstance; // set for C++ classes only
    std::map<std::string, Method, std::less<>> methods;
};
