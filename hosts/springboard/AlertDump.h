#pragma once

#include <memory>

#include <nlohmann/json.hpp>

#include "platform/uikit/UIAlertController.h"

namespace corvale::springboardhost {

// What a person sees of a presented alert, as JSON: title, message (body and footer with their
// fonts and colours), actions and the preferred one, and the header: avatar and icon frames in the
// header's coordinates, and the names now in the cloud. The header's classes are recognised by
// their runtime names, so the host needs none of the library's code.
class AlertDump {
public:
    static nlohmann::ordered_json describe(const std::shared_ptr<UIAlertController>& alert);

private:
    static nlohmann::ordered_json describeMessage(const UIAlertController& alert);
    static nlohmann::ordered_json describeHeader(const std::shared_ptr<UIView>& headerView);
};

} // namespace corvale::springboardhost
