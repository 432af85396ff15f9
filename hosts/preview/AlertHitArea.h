#pragma once

#include <optional>
#include <string>

#include "platform/uikit/CGGeometry.h"
#include "platform/uikit/UIAlertController.h"

namespace corvale::preview {

// Where a presented alert's buttons are on the screen, as the renderer lays the card out. The alert is
// drawn over the window rather than built of views, so a touch reaches its buttons through this.
class AlertHitArea {
public:
    // The title of the action whose button covers `point`; nothing off the buttons.
    static std::optional<std::string> actionAt(UIAlertController& alert, CGSize screen, CGPoint point);
};

} // namespace corvale::preview
