#include "settings/engine/RespringAlert.h"

#include "settings/engine/KVCorvaleBaseSettingsController.h"
#include "platform/uikit/UIAlertAction.h"

namespace corvale {

std::shared_ptr<UIAlertController>
RespringAlert::make(const std::shared_ptr<KVCorvaleBaseSettingsController>& page) {
    auto alert = UIAlertController::alertControllerWithTitle(title, message, UIAlertControllerStyle::Alert);
    auto respring = UIAlertAction::actionWithTitle(
        "Respring", UIAlertActionStyle::Default,
        [page](const std::shared_ptr<UIAlertAction>&) { page->respringToSettings(true); });
    alert->addAction(respring);
    alert->addAction(UIAlertAction::actionWithTitle("Not Now", UIAlertActionStyle::Cancel, nullptr));
    alert->setPreferredAction(respring);
    return alert;
}

} // namespace corvale
