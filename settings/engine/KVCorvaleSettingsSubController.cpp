#include "settings/engine/KVCorvaleSettingsSubController.h"

#include "platform/runtime/ObjCRuntime.h"

namespace {
[[maybe_unused]] const Class registeredClass = platform::registerClass<KVCorvaleSettingsSubController, KVCorvaleBaseSettingsController>("KVCorvaleSettingsSubController");
} // namespace

std::shared_ptr<PSSpecifierList> KVCorvaleSettingsSubController::specifiers() {
    if (!_specifiers)
        _specifiers = loadSpecifiersFromPlistName(plistName(), selfAs<KVCorvaleSettingsSubController>(),
                                                  preferencesBundle());
    return _specifiers;
}

std::shared_ptr<NSBundle> KVCorvaleSettingsSubController::preferencesBundle() {
    auto opening = specifier();
    if (!opening)
        return nullptr;
    // Asked by name: the opener may be any page, even one of another pane.
    return objc_msgSend(opening->target(), "preferencesBundle").objectAs<NSBundle>();
}

std::string KVCorvaleSettingsSubController::plistName() const {
    auto opening = specifier();
    if (!opening)
        return {};
    const Value plist = opening->propertyForKey("Plist");
    return plist.isNull() ? opening->identifier() : plist.stringValue();
}
