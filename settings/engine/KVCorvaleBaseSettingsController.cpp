#include "settings/engine/KVCorvaleBaseSettingsController.h"

#include <string>

#include "platform/corefoundation/CFPreferences.h"
#include "settings/engine/RespringAlert.h"
#include "settings/engine/SpecifierLoadingPass.h"
#include "settings/engine/ThemeAppearance.h"
#include "settings/engine/UIColorEasyDynamic.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSSet.h"
#include "platform/runtime/MethodBinding.h"
#include "platform/runtime/ObjCRuntime.h"
#include "platform/uikit/UIApplication.h"

namespace {

using Controller = KVCorvaleBaseSettingsController;
using platform::bind;

[[maybe_unused]] const Class registeredClass = platform::registerClass<Controller, PSListController>({
    {"URLSpecifierPerformedAction:", bind<&Controller::URLSpecifierPerformedAction>()},
    {"respringToSettings:", bind<&Controller::respringToSettings>()},
    {"_targetURL", bind<&Controller::_targetURL>()},
    {"refreshSpecifiers", bind<&Controller::refreshSpecifiers>()},
    {"headerColour", bind<&Controller::headerColour>()},
    {"tweakName", bind<&Controller::tweakName>()},
    {"tweakVersion", bind<&Controller::tweakVersion>()},
    {"preferencesBundle", bind<&Controller::preferencesBundle>()},
});

void relaunchThroughApplication() {
    objc_msgSend(UIApplication::sharedApplication(), "_relaunchSpringBoardNow");
}

// The restart request for the system service, from whichever action class this system has.
id makeRestartAction(const std::shared_ptr<NSURL>& targetURL) {
    if (Class relaunch = objc_getClass("SBSRelaunchAction"))
        return objc_msgSendClass(relaunch, "actionWithReason:options:targetURL:",
                                 {Value("RestartRenderServer"), Value(4), MessageValue(targetURL)})
            .object();
    if (Class restart = objc_getClass("SBSRestartRenderServerAction"))
        return objc_msgSendClass(restart, "restartActionWithTargetRelaunchURL:", {MessageValue(targetURL)})
            .object();
    return nullptr;
}

} // namespace

void KVCorvaleBaseSettingsController::viewDidLoad() {
    PSListController::viewDidLoad();
    applyTheme();
}

std::shared_ptr<PSSpecifierList> KVCorvaleBaseSettingsController::specifiers() {
    if (!_specifiers)
        _loadSpecifiers();
    return _specifiers;
}

void KVCorvaleBaseSettingsController::_loadSpecifiers() {
    auto self = selfAs<KVCorvaleBaseSettingsController>();
    auto raw = loadSpecifiersFromPlistName(tweakName().stringValue(), self, preferencesBundle());
    corvale::SpecifierLoadingPass pass(*this);
    auto result = pass.run(raw ? *raw : PSSpecifierList{});
    visibilityForDependedUponItems = std::move(result.visibility);
    // With nothing loaded the list stays absent, so the next request tries again.
    _specifiers = raw ? std::make_shared<PSSpecifierList>(std::move(result.specifiers)) : nullptr;
}

void KVCorvaleBaseSettingsController::URLSpecifierPerformedAction(
    const std::shared_ptr<PSSpecifier>& specifier) {
    if (!specifier)
        return;
    const Value url = specifier->propertyForKey("url");
    if (!url.isString())
        return;
    if (auto link = NSURL::URLWithString(url.asString()))
        UIApplication::sharedApplication()->openURL(link);
}

void KVCorvaleBaseSettingsController::refreshSpecifiers() {
    _loadSpecifiers();
    clearCache();
    reloadSpecifiers();
}

void KVCorvaleBaseSettingsController::reevaluateVisibilityAnimated(bool) {
    table()->beginUpdates();
    table()->endUpdates();
}

CGFloat KVCorvaleBaseSettingsController::tableViewHeightForRowAtIndexPath(
    const std::shared_ptr<UITableView>& tableView, const std::shared_ptr<NSIndexPath>& indexPath) {
    auto specifier = specifierAtIndexPath(indexPath);
    if (specifier) {
        const Value dependsOn = specifier->propertyForKey("DependsOn");
        if (!dependsOn.isNull()) {
            // A name without an entry (or a DependsOn that is not a string) is never satisfied.
            const bool shown =
                dependsOn.isString() && visibilityForDependedUponItems[dependsOn.asString()].boolValue();
            if (!shown)
                return collapsedRowHeight;
        }
    }
    return PSListController::tableViewHeightForRowAtIndexPath(tableView, indexPath);
}

void KVCorvaleBaseSettingsController::tableViewWillDisplayCellForRowAtIndexPath(
    const std::shared_ptr<UITableView>&, const std::shared_ptr<UITableViewCell>& cell,
    const std::shared_ptr<NSIndexPath>&) {
    if (cell)
        cell->setClipsToBounds(true);
}

void KVCorvaleBaseSettingsController::setPreferenceValue(const Value& value,
                                                         const std::shared_ptr<PSSpecifier>& specifier) {
    PSListController::setPreferenceValue(value, specifier);
    if (!specifier)
        return;
    updateVisibilityAfterWriting(specifier);
    if (specifier->propertyForKey("RespringRequired").boolValue())
        presentRespringAlert();
}

void KVCorvaleBaseSettingsController::updateVisibilityAfterWriting(
    const std::shared_ptr<PSSpecifier>& specifier) {
    const Value key = specifier->propertyForKey("key");
    if (!key.isString() || !visibilityForDependedUponItems.contains(key.asString()))
        return;
    // What was stored, not what was passed: the store may have refused or converted it.
    visibilityForDependedUponItems.set(key.asString(), Value(readPreferenceValue(specifier).boolValue()));
    reevaluateVisibilityAnimated(true);
}

void KVCorvaleBaseSettingsController::presentRespringAlert() {
    auto self = selfAs<KVCorvaleBaseSettingsController>();
    presentViewController(corvale::RespringAlert::make(self), true, nullptr);
}

void KVCorvaleBaseSettingsController::respringToSettings(bool returnToSettings) {
    Class service = objc_getClass("FBSSystemService");
    if (!service) {
        relaunchThroughApplication();
        return;
    }
    auto action = makeRestartAction(returnToSettings ? _targetURL() : nullptr);
    auto sharedService = objc_msgSendClass(service, "sharedService").object();
    // Without an action (or a service to send it to) the request would vanish: restart the plain
    // way instead, so that "Respring" always restarts.
    if (!action || !sharedService) {
        relaunchThroughApplication();
        return;
    }
    objc_msgSend(sharedService, "sendActions:withResult:", {MessageValue(NSSet::setWithObject(action)), {}});
}

std::shared_ptr<NSURL> KVCorvaleBaseSettingsController::_targetURL() {
    if (!objc_getClass("PreferencesAppController"))
        return nullptr;
    // The Settings app writes its current position into its preferences while making the URL.
    objc_msgSend(UIApplication::sharedApplication(), "generateURL");
    const Value position =
        CFPreferencesCopyAppValue("kPreferencePositionKey", kCFPreferencesCurrentApplication);
    if (!position.isString())
        return nullptr;
    return NSURL::URLWithString(position.asString());
}

std::shared_ptr<NSBundle> KVCorvaleBaseSettingsController::preferencesBundle() {
    auto opening = specifier();
    auto own = bundle();
    if (!opening || !own)
        return nullptr;
    const Value name = opening->propertyForKey("bundle");
    if (!name.isString())
        return nullptr;
    auto ownURL = own->bundleURL();
    if (!ownURL)
        return nullptr;
    auto folder = ownURL->URLByDeletingLastPathComponent();
    return folder ? NSBundle::bundleWithURL(folder->URLByAppendingPathComponent(name.asString() + ".bundle"))
                  : nullptr;
}

Value KVCorvaleBaseSettingsController::tweakName() {
    auto bundle = preferencesBundle();
    return bundle ? bundle->objectForInfoDictionaryKey("KVTweakName") : Value();
}

Value KVCorvaleBaseSettingsController::tweakVersion() {
    auto bundle = preferencesBundle();
    return bundle ? bundle->objectForInfoDictionaryKey("KVTweakVersion") : Value();
}

std::shared_ptr<UIImage> KVCorvaleBaseSettingsController::tweakIcon() {
    auto bundle = preferencesBundle();
    return bundle ? UIImage::imageNamed("icon", bundle, nullptr) : nullptr;
}

void KVCorvaleBaseSettingsController::applyTheme() {
    _headerColour = corvale::ThemeAppearance::defaultHeaderColour();
    UIColorPtr tint;
    auto bundle = preferencesBundle();
    const Value name = tweakName();
    auto path = bundle && name.isString() ? bundle->pathForResource(name.asString(), "plist") : std::nullopt;
    if (auto list = path ? NSDictionary::dictionaryWithContentsOfFile(*path) : std::nullopt) {
        if (auto configured = UIColorEasyDynamic::colorForKey("headerColour", *list))
            _headerColour = configured;
        tint = UIColorEasyDynamic::colorForKey("tintColour", *list);
    }
    if (!tint)
        tint = _headerColour;
    view()->setTintColor(tint);
    corvale::ThemeAppearance::applyTintInside(getClass(), tint);
}
