#include "followprompt/hooks/MerrowPromptState.h"

#include <atomic>

#include "platform/corefoundation/CFPreferences.h"
#include "platform/foundation/NSProcessInfo.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/MethodBinding.h"
#include "platform/runtime/ObjCRuntime.h"

namespace merrow {

namespace {

// Written at load time on the loading thread, then only on the main thread; atomic so that no
// ordering between the two has to be assumed.
std::atomic<bool> hasPrompted{false};

// What a freshly loaded library knows: nothing until the domain is read.
void reloadForNewProcess() {
    PromptState::setHasPromptedForFollow(false);
    PromptState::loadFromPreferences();
}

// The in-memory state by name, for hosts that report it without linking the library.
[[maybe_unused]] const Class promptStateClass = [] {
    Class cls = objc_allocateClassPair(objc_getClass("NSObject"), "ZRMerrowPromptState");
    if (!cls)
        return objc_getClass("ZRMerrowPromptState");
    platform::addClassMethods(cls, {
        {"hasPromptedForFollow", platform::bind<&PromptState::hasPromptedForFollow>()},
        {"currentPromptKey", platform::bind<&currentPromptKey>()},
        // A host that starts SpringBoard anew in the same process has the library read it again.
        {"reloadForNewProcess", platform::bind<&reloadForNewProcess>()},
    });
    objc_registerClassPair(cls);
    return cls;
}();

} // namespace

std::string currentPromptKey() {
    if (NSProcessInfo::processInfo().isOperatingSystemAtLeastVersion({13, 0, 0}))
        return "HasPromptedForFollowV2";
    return "HasPromptedForFollowV1";
}

bool PromptState::hasPromptedForFollow() {
    return hasPrompted.load();
}

void PromptState::setHasPromptedForFollow(bool prompted) {
    hasPrompted.store(prompted);
}

void PromptState::loadFromPreferences() {
    CFPreferencesAppSynchronize(preferenceDomain);
    const Value keys =
        CFPreferencesCopyKeyList(preferenceDomain, kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
    Value stored;
    if (!keys.isNull())
        stored = CFPreferencesCopyMultiple(keys, preferenceDomain, kCFPreferencesCurrentUser,
                                           kCFPreferencesAnyHost);
    const std::string key = currentPromptKey();
    if (stored.isDictionary() && stored.contains(key))
        setHasPromptedForFollow(stored[key].boolValue());
}

void PromptState::storePrompted() {
    const Value entry = Value::dictionary({{currentPromptKey(), true}});
    CFPreferencesSetMultiple(entry, Value(), preferenceDomain, kCFPreferencesCurrentUser,
                             kCFPreferencesAnyHost);
    CFPreferencesAppSynchronize(preferenceDomain);
}

} // namespace merrow
