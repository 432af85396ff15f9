#include "tests/hosts/settings/FixturePane.h"

#include <filesystem>

void FixturePane::SetUp() {
    SettingsHostScenario::SetUp();
    // Only this fixture's lists: the example's own sub-page list would add its rows to lint.
    std::filesystem::remove(m_root.hostPath(std::string(bundlePath) + "/Advanced.plist"));
    writeList("Corvale", mainList());
    writeList("Sub", subList());
}

Value FixturePane::mainList() {
    return list(
        {
            row({{"cell", "PSGroupCell"}, {"label", "General"}, {"footerText", "Applies after a respring."}}),
            row({{"cell", "PSSwitchCell"},
                 {"label", "Master"},
                 {"key", "master"},
                 {"defaults", defaultsDomain},
                 {"default", false},
                 {"RespringRequired", true}}),
            row({{"cell", "PSSwitchCell"},
                 {"label", "Dependent"},
                 {"key", "dependent"},
                 {"defaults", defaultsDomain},
                 {"default", true},
                 {"DependsOn", "master"}}),
            row({{"cell", "PSSliderCell"},
                 {"label", "Level"},
                 {"key", "level"},
                 {"defaults", defaultsDomain},
                 {"default", 0.5},
                 {"DependsOn", "master"}}),
            row({{"cell", "PSGroupCell"}, {"label", "Version"}}),
            row({{"cell", "PSSwitchCell"}, {"label", "Modern Only"},
                 {"key", "modernOnly"},
                 {"defaults", defaultsDomain},
                 {"OSRequirement", "major >= 13"}}),
            row({{"cell", "PSSwitchCell"}, {"label", "Legacy Only"},
                 {"key", "legacyOnly"},
                 {"defaults", defaultsDomain},
                 {"OSRequirement", "major < 13"}}),
            row({{"cell", "PSSwitchCell"}, {"label", "Unparsable"},
                 {"key", "unparsable"},
                 {"defaults", defaultsDomain},
                 {"OSRequirement", "major >="}}),
            row({{"cell", "PSGroupCell"}, {"label", "Actions"}}),
            row({{"cell", "PSButtonCell"}, {"label", "Ping"}, {"PostNotification", "dev.test.corvale/ping"}}),
            row({{"cell", "PSButtonCell"},
                 {"label", "Website"},
                 {"action", "URLSpecifierPerformedAction:"},
                 {"url", "https://example.test/corvale"}}),
            row({{"cell", "PSLinkCell"},
                 {"label", "More Options"},
                 {"detail", "KVCorvaleSettingsSubController"},
                 {"isController", true},
                 {"Plist", "Sub"}}),
        },
        {{"title", "Corvale"},
         {"headerColour", "0.1:0.2:0.3"},
         {"headerColour:dark", "0.4:0.5:0.6"},
         {"tintColour", "0.7:0.8:0.9"}});
}

Value FixturePane::subList() {
    return list(
        {
            row({{"cell", "PSSwitchCell"}, {"label", "Sub Modern"},
                 {"key", "subModern"},
                 {"defaults", defaultsDomain},
                 {"OSRequirement", "major >= 13"}}),
            row({{"cell", "PSSwitchCell"}, {"label", "Sub Legacy"},
                 {"key", "subLegacy"},
                 {"defaults", defaultsDomain},
                 {"OSRequirement", "major < 13"}}),
            row({{"cell", "PSSwitchCell"},
                 {"label", "Sub Toggle"},
                 {"key", "subToggle"},
                 {"defaults", defaultsDomain},
                 {"default", true},
                 {"RespringRequired", true}}),
            row({{"cell", "PSSwitchCell"},
                 {"label", "Sub Dependent"},
                 {"key", "subDependent"},
                 {"defaults", defaultsDomain},
                 {"DependsOn", "subToggle"}}),
        },
        {{"title", "Sub"}});
}
