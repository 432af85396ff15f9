#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/foundation/Value.h"

// Core Foundation's notification centres. Only the Darwin notify centre exists here: it carries a
// name and nothing else, so observers get a null object and an empty userInfo.
struct __CFNotificationCenter;
using CFNotificationCenterRef = __CFNotificationCenter*;

using CFNotificationCallback =
    std::function<void(CFNotificationCenterRef center, void* observer, const std::string& name,
                       const void* object, const Value& userInfo)>;

enum CFNotificationSuspensionBehavior {
    CFNotificationSuspensionBehaviorDrop = 1,
    CFNotificationSuspensionBehaviorCoalesce = 2,
    CFNotificationSuspensionBehaviorHold = 3,
    CFNotificationSuspensionBehaviorDeliverImmediately = 4
};

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter();

// Registers `callback` for `name` (which must not be empty on the Darwin centre). Registering the same
// observer for the same name again replaces the earlier callback. `object` and the suspension
// behaviour do not apply: a Darwin notification has no object and this process is never suspended.
void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callback, std::string_view name,
                                     const void* object, CFNotificationSuspensionBehavior suspensionBehavior);
// An empty name stops the observer's callbacks for every name.
void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer,
                                        std::string_view name, const void* object);
void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer);
// Records the post in platform::DarwinNotificationLog, then calls this name's observers on the calling
// thread before returning. `object` and `userInfo` are dropped, as the Darwin centre does.
void CFNotificationCenterPostNotification(CFNotificationCenterRef center, std::string_view name,
                                          const void* object, const Value& userInfo, bool deliverImmediately);
