#pragma once

#include <memory>

#include "platform/uikit/UIAlertController.h"

class KVCorvaleBaseSettingsController;

namespace corvale {

// The offer to restart SpringBoard after writing a row that needs it. "Respring" restarts and
// reopens Settings where it was; "Not Now" only closes the alert (the value is already stored).
class RespringAlert {
public:
    static constexpr const char* title = "Respring Required";
    static constexpr const char* message = "This setting requires a respring in order to take effect. Would "
                                           "you like to restart SpringBoard now?";

    // The handler keeps the page alive until the alert is gone.
    static std::shared_ptr<UIAlertController>
    make(const std::shared_ptr<KVCorvaleBaseSettingsController>& page);
};

} // namespace corvale
