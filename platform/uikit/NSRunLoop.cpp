#include "platform/uikit/NSRunLoop.h"

namespace {

[[maybe_unused]] const Class registeredRunLoop = platform::registerClass<NSRunLoop>("NSRunLoop");

} // namespace

std::shared_ptr<NSRunLoop> NSRunLoop::mainRunLoop() {
    static const auto runLoop = std::make_shared<NSRunLoop>();
    return runLoop;
}
