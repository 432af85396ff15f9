#include "hosts/settings/FBSSystemService.h"

#include "hosts/settings/SBSRelaunchAction.h"
#include "hosts/settings/SBSRestartRenderServerAction.h"
#include "platform/uikit/DeviceEventLog.h"

std::shared_ptr<FBSSystemService> FBSSystemService::sharedService() {
    static const auto service = std::make_shared<FBSSystemService>();
    return service;
}

void FBSSystemService::sendActions(const std::shared_ptr<NSSet>& actions) {
    if (!actions)
        return;
    for (const auto& action : actions->allObjects()) {
        auto event = restartEventForAction(action);
        if (!event.isNull())
            platform::DeviceEventLog::shared().record(std::move(event));
    }
}

Value FBSSystemService::restartEventForAction(const id& action) {
    auto respring = Value::dictionary({{"via", "FBSSystemService"}});
    if (auto relaunch = std::dynamic_pointer_cast<SBSRelaunchAction>(action)) {
        respring.set("reason", relaunch->reason());
        respring.set("options", relaunch->options());
        respring.set("targetURL", relaunch->targetURL());
    } else if (auto restart = std::dynamic_pointer_cast<SBSRestartRenderServerAction>(action)) {
        respring.set("reason", Value());
        respring.set("options", Value());
        respring.set("targetURL", restart->targetURL());
    } else {
        return {};
    }
    return Value::dictionary({{"respring", respring}});
}
