#include "platform/corefoundation/CFNotificationCenter.h"

#include "platform/corefoundation/DarwinNotificationLog.h"
#include "platform/corefoundation/DarwinNotifyCenter.h"

struct __CFNotificationCenter {
    platform::DarwinNotifyCenter observers;
};

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter() {
    // Never destroyed: observers may be removed by static destructors of loaded modules at exit.
    static auto* center = new __CFNotificationCenter;
    return center;
}

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callback, std::string_view name, const void*,
                                     CFNotificationSuspensionBehavior) {
    if (center)
        center->observers.addObserver(observer, std::move(callback), name);
}

void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer,
                                        std::string_view name, const void*) {
    if (center)
        center->observers.removeObserver(observer, name);
}

void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer) {
    if (center)
        center->observers.removeObserver(observer, {});
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, std::string_view name, const void*,
                                          const Value&, bool) {
    if (!center || name.empty())
        return;
    // Recorded before delivery, so a post made from inside a callback is logged after this one.
    platform::DarwinNotificationLog::shared().record(name);
    center->observers.post(center, name);
}
