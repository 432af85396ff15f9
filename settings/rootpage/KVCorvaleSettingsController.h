#pragma once

#include "engine/KVCorvaleBaseSettingsController.h"

// The pane's first page and the bundle's principal class. It runs the base loading pass and
// defines the action that the pass gives to "PostNotification" button rows.
class KVCorvaleSettingsController : public KVCorvaleBaseSettingsController {
public:
    // Posts the row's "PostNotification" on the Darwin notify centre.
    void notificationButtonPerformedAction(const std::shared_ptr<PSSpecifier>& specifier);
};
