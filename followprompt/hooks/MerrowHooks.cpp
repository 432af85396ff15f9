#include "followprompt/hooks/MerrowHooks.h"

#include "followprompt/alert/ZRMerrowAlertController.h"
#include "followprompt/alert/ZRMerrowAlertCoordinator.h"
#include "platform/foundation/NSProcessInfo.h"
#include "followprompt/hooks/MerrowPromptState.h"
#include "platform/runtime/MethodBinding.h"
#include "platform/runtime/ObjCRuntime.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIWindow.h"

namespace merrow {

namespace {

constexpr const char* presentSelector = "__zr_presentFollowAlert";

// The implementations the substitutions replaced, filled by MSHookMessageEx.
IMP previousFinishUIUnlock;
IMP previousLockScreenDidDismiss;
IMP previousApplicationDidFinishLaunching;

MessageValue callPrevious(const IMP& previous, const id& self, const MessageArguments& arguments) {
    return previous ? previous(self, arguments) : MessageValue();
}

MessageValue finishUIUnlockFromSource(const id& self, const MessageArguments& arguments) {
    callPrevious(previousFinishUIUnlock, self, arguments);
    objc_msgSend(self, presentSelector);
    return {};
}

MessageValue lockScreenViewControllerDidDismiss(const id& self, const MessageArguments& arguments) {
    callPrevious(previousLockScreenDidDismiss, self, arguments);
    objc_msgSend(self, presentSelector);
    return {};
}

MessageValue applicationDidFinishLaunching(const id& self, const MessageArguments& arguments) {
    callPrevious(previousApplicationDidFinishLaunching, self, arguments);
    if (!PromptState::hasPromptedForFollow())
        ZRMerrowAlertCoordinator::sharedCoordinator()->startDownloadingManifestIfNeeded();
    return {};
}

void presentFromKeyWindow(const std::shared_ptr<UIViewController>& alert) {
    auto window = UIApplication::sharedApplication()->keyWindow();
    if (auto root = window ? window->rootViewController() : nullptr)
        root->presentViewController(alert, true, nullptr);
}

} // namespace

void presentFollowAlert() {
    if (PromptState::hasPromptedForFollow())
        return;
    auto coordinator = ZRMerrowAlertCoordinator::sharedCoordinator();
    if (!coordinator->canPresentAlert())
        return;
    PromptState::setHasPromptedForFollow(true);
    PromptState::storePrompted();
    auto alert = coordinator->getAlertController();
    if (!alert || !alert->isAllowedToShowBasedOnManifest())
        return;
    presentFromKeyWindow(alert);
}

void loadIntoSpringBoard() {
    PromptState::loadFromPreferences();
    if (!NSProcessInfo::processInfo().isOperatingSystemAtLeastVersion({12, 0, 0}))
        return;
    Class lockScreenManager = objc_getClass("SBLockScreenManager");
    MSHookMessageEx(lockScreenManager, "finishUIUnlockFromSource:", finishUIUnlockFromSource,
                    &previousFinishUIUnlock);
    MSHookMessageEx(lockScreenManager, "lockScreenViewControllerDidDismiss",
                    lockScreenViewControllerDidDismiss, &previousLockScreenDidDismiss);
    class_addMethod(lockScreenManager, presentSelector, platform::bind<&presentFollowAlert>().implementation,
                    "v@:");
    MSHookMessageEx(objc_getClass("SpringBoard"),
                    "applicationDidFinishLaunching:", applicationDidFinishLaunching,
                    &previousApplicationDidFinishLaunching);
}

} // namespace merrow
