#include "hosts/springboard/SpringBoardClasses.h"

#include <atomic>
#include <mutex>

namespace corvale::springboardhost {

namespace {

std::atomic<long> launches{0};
std::atomic<long> unlocks{0};
std::atomic<long> dismissals{0};

IMP counting(std::atomic<long>& counter) {
    return [&counter](const id&, const MessageArguments&) -> MessageValue {
        ++counter;
        return {};
    };
}

Class defineClass(const char* superclassName, const char* name) {
    Class cls = objc_allocateClassPair(objc_getClass(superclassName), name);
    if (cls)
        objc_registerClassPair(cls);
    return objc_getClass(name);
}

} // namespace

void SpringBoardClasses::registerClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        Class springBoard = defineClass("UIApplication", "SpringBoard");
        class_addMethod(springBoard, "applicationDidFinishLaunching:", counting(launches), "v@:@");
        Class lockScreenManager = defineClass("NSObject", "SBLockScreenManager");
        class_addMethod(lockScreenManager, "finishUIUnlockFromSource:", counting(unlocks), "v@:i");
        class_addMethod(lockScreenManager, "lockScreenViewControllerDidDismiss", counting(dismissals), "v@:");
    });
}

id SpringBoardClasses::makeSpringBoard() {
    return class_createInstance(objc_getClass("SpringBoard"));
}

id SpringBoardClasses::makeLockScreenManager() {
    return class_createInstance(objc_getClass("SBLockScreenManager"));
}

Value SpringBoardClasses::callCounts() {
    return Value::dictionary({
        {"launches", launches.load()},
        {"unlocks", unlocks.load()},
        {"lockScreenDismissals", dismissals.load()},
    });
}

} // namespace corvale::springboardhost
