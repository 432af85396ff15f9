#include "hosts/settings/SystemServices.h"

#include <array>
#include <utility>

#include "platform/corefoundation/CFPreferences.h"
#include "platform/foundation/NSURL.h"
#include "platform/runtime/MethodBinding.h"
#include "platform/runtime/ObjCRuntime.h"
#include "hosts/settings/FBSSystemService.h"
#include "hosts/settings/SBSRelaunchAction.h"
#include "hosts/settings/SBSRestartRenderServerAction.h"

namespace corvale::settingshost {

namespace {

constexpr std::array<std::string_view, 4> serviceClassNames = {
    "PreferencesAppController", "FBSSystemService", "SBSRelaunchAction", "SBSRestartRenderServerAction"};

// The URL argument as its string: an NSURL object, or a string from a sender that passes URLs that
// way; anything else means "no URL".
Value urlArgument(const MessageArguments& arguments, std::size_t index) {
    const auto& argument = platform::argument(arguments, index);
    if (auto url = argument.objectAs<NSURL>())
        return url->absoluteString();
    return argument.value().isString() ? argument.value() : Value();
}

} // namespace

void SystemServices::registerClasses(const std::set<std::string>& without) {
    auto wanted = [&without](std::string_view name) { return !without.contains(std::string(name)); };
    if (wanted("PreferencesAppController"))
        registerPreferencesAppController();
    if (wanted("FBSSystemService"))
        registerSystemService();
    if (wanted("SBSRelaunchAction"))
        registerRelaunchAction();
    if (wanted("SBSRestartRenderServerAction"))
        registerRestartRenderServerAction();
}

bool SystemServices::isServiceClassName(std::string_view name) {
    for (auto serviceName : serviceClassNames)
        if (serviceName == name)
            return true;
    return false;
}

void SystemServices::registerPreferencesAppController() {
    // Only its existence matters: it tells the pane that it runs inside the Settings app.
    if (objc_getClass("PreferencesAppController"))
        return;
    Class cls = objc_allocateClassPair(objc_getClass("NSObject"), "PreferencesAppController");
    objc_registerClassPair(cls);
}

void SystemServices::registerSystemService() {
    using platform::bind;
    Class cls = platform::registerClass<FBSSystemService>(
        "FBSSystemService", {{"sendActions:withResult:", bind<&FBSSystemService::sendActions>()}});
    platform::addClassMethods(cls, {{"sharedService", bind<&FBSSystemService::sharedService>()}});
}

void SystemServices::registerRelaunchAction() {
    Class cls = platform::registerClass<SBSRelaunchAction>("SBSRelaunchAction");
    class_addClassMethod(cls, "actionWithReason:options:targetURL:",
                         [](const id&, const MessageArguments& arguments) -> MessageValue {
                             return SBSRelaunchAction::actionWithReason(
                                 platform::argument(arguments, 0).value().stringValue(),
                                 platform::argument(arguments, 1).value().integerValue(),
                                 urlArgument(arguments, 2));
                         });
}

void SystemServices::registerRestartRenderServerAction() {
    Class cls = platform::registerClass<SBSRestartRenderServerAction>("SBSRestartRenderServerAction");
    class_addClassMethod(cls, "restartActionWithTargetRelaunchURL:",
                         [](const id&, const MessageArguments& arguments) -> MessageValue {
                             return SBSRestartRenderServerAction::restartActionWithTargetRelaunchURL(
                                 urlArgument(arguments, 0));
                         });
}

void SystemServices::installGenerateURL(std::function<std::string()> position) {
    // Replaced rather than added, so the newest navigation answers when a process opens the pane twice.
    class_replaceMethod(objc_getClass("UIApplication"), "generateURL",
                        [position = std::move(position)](const id&, const MessageArguments&) -> MessageValue {
                            std::string url = position ? position() : std::string();
                            CFPreferencesSetAppValue(positionKey, url.empty() ? Value() : Value(url),
                                                     kCFPreferencesCurrentApplication);
                            CFPreferencesAppSynchronize(kCFPreferencesCurrentApplication);
                            return {};
                        });
}

} // namespace corvale::settingshost
