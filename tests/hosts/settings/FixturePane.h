#pragma once

#include "tests/hosts/settings/SettingsHostScenario.h"

// The installed pane with its lists replaced by ones written for these scenarios: a main list ("Corvale")
// with a respring switch that two rows depend on, rows gated to iOS 13 and later and to before 13 (and one
// whose requirement does not parse), a notification button, a link and a sub-page link; and the
// sub-page list "Sub".
class FixturePane : public SettingsHostScenario {
protected:
    void SetUp() override;

    static Value mainList();
    static Value subList();
};
