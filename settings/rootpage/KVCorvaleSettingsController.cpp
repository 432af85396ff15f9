#include "rootpage/KVCorvaleSettingsController.h"

#include "corefoundation/CFNotificationCenter.h"
#include "runtime/ObjCRuntime.h"

namespace {

[[maybe_unused]] const Class registeredClass = [] {
    Class cls = platform::registerClass<KVCorvaleSettingsController>("KVCorvaleSettingsController",
                                                                     "KVCorvaleBaseSettingsController");
    class_addMethod(cls, "notificationButtonPerformedAction:",
                    platform::methodImplementation<KVCorvaleSettingsController>(
                        [](const auto& self, const MessageArguments& arguments) {
                            self->notificationButtonPerformedAction(
                                platform::argument(arguments, 0).objectAs<PSSpecifier>());
                        }));
    return cls;
}();

} // namespace

void KVCorvaleSettingsController::notificationButtonPerformedAction(
    const std::shared_ptr<PSSpecifier>& specifier) {
    if (!specifier)
        return;
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                         specifier->propertyForKey("PostNotification").stringValue(), nullptr,
                                         Value(), true);
}
