#pragma once

#include <memory>
#include <string_view>

#include "platform/runtime/NSObject.h"

using NSRunLoopMode = std::string_view;
inline constexpr NSRunLoopMode NSDefaultRunLoopMode = "kCFRunLoopDefaultMode";
inline constexpr NSRunLoopMode NSRunLoopCommonModes = "kCFRunLoopCommonModes";

// The main run loop as an object, for the calls that take one (display links). There is one run loop
// here, platform::RunLoop::main(), and every thread's "current" run loop is that one: UIKit work
// happens on the main thread. Modes are names only; the loop runs all of them.
class NSRunLoop : public NSObject {
public:
    static std::shared_ptr<NSRunLoop> mainRunLoop();
    static std::shared_ptr<NSRunLoop> currentRunLoop() { return mainRunLoop(); }

    NSRunLoop() = default;
};

using NSRunLoopPtr = std::shared_ptr<NSRunLoop>;
