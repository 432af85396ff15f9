#pragma once

#include <functional>
#include <set>
#include <string>
#include <string_view>

namespace corvale::settingshost {

// The Settings app's and SpringBoard's classes that the pane looks up by name, registered in the
// runtime before the pane loads: "PreferencesAppController", "FBSSystemService",
// "SBSRelaunchAction" and "SBSRestartRenderServerAction", each left out when named in `without`;
// and the application's "generateURL", which stores the navigation position that `position`
// answers ("prefs:root=Corvale&path=Sub") under "kPreferencePositionKey" in the current
// application's preferences.
class SystemServices {
public:
    static constexpr std::string_view positionKey = "kPreferencePositionKey";

    static void registerClasses(const std::set<std::string>& without);
    // An empty position removes the stored one.
    static void installGenerateURL(std::function<std::string()> position);

    // Whether `name` is one of the classes above, so a command line can reject a misspelling.
    static bool isServiceClassName(std::string_view name);

private:
    static void registerPreferencesAppController();
    static void registerSystemService();
    static void registerRelaunchAction();
    static void registerRestartRenderServerAction();
};

} // namespace corvale::settingshost
