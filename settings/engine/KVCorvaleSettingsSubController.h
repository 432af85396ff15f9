#pragma once

#include <string>

#include "settings/engine/KVCorvaleBaseSettingsController.h"

// A further page of the pane, opened by a link row of another page. It shows the list named by its
// opening row's "Plist" (or identifier) from the same preferences bundle, loaded by the framework
// alone: its rows keep every "OSRequirement" and collapse every "DependsOn" row.
class KVCorvaleSettingsSubController : public KVCorvaleBaseSettingsController {
public:
    std::shared_ptr<PSSpecifierList> specifiers() override;
    // The preferences bundle of the page this one was opened from.
    std::shared_ptr<NSBundle> preferencesBundle() override;
    std::string plistName() const;
};
