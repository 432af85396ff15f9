// Restarting SpringBoard from the respring alert: the system services the host plays, the return
// address it keeps, and every fallback when a service class is missing.
#include "tests/hosts/settings/FixturePane.h"

namespace {

nlohmann::json respring(nlohmann::json via, nlohmann::json reason, nlohmann::json options,
                        nlohmann::json targetURL) {
    return {{"respring", {{"via", via}, {"reason", reason}, {"options", options}, {"targetURL", targetURL}}}};
}

} // namespace

TEST_F(FixturePane, RespringRestartsWithTheSettingsReturnAddress) {
    auto run = runHost({"set", "master", "true", "alert", "Respring", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto dump = run.jsonLines().at(0);
    EXPECT_TRUE(dump["alert"].is_null());
    EXPECT_EQ(dump["events"], nlohmann::json::array({respring("FBSSystemService", "RestartRenderServer", 4,
                                                              "prefs:root=Corvale")}));
    // generateURL left the position in the Settings app's own preferences.
    EXPECT_EQ(readDomain("com.apple.Preferences")["kPreferencePositionKey"], Value("prefs:root=Corvale"));
}

TEST_F(FixturePane, RespringFromASubPageReturnsToThatSubPage) {
    auto run = runHost({"tap", "More Options", "set", "subToggle", "false", "alert", "Respring", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto dump = run.jsonLines().at(0);
    EXPECT_EQ(dump["events"], nlohmann::json::array({respring("FBSSystemService", "RestartRenderServer", 4,
                                                              "prefs:root=Corvale&path=More%20Options")}));
}

TEST_F(FixturePane, EveryRestartPathIsReachedByLeavingServiceClassesOut) {
    struct Case {
        std::vector<std::string> without;
        nlohmann::json expected;
    };
    const Case cases[] = {
        {{"SBSRelaunchAction"}, respring("FBSSystemService", nullptr, nullptr, "prefs:root=Corvale")},
        {{"PreferencesAppController"}, respring("FBSSystemService", "RestartRenderServer", 4, nullptr)},
        {{"FBSSystemService"}, respring("UIApplication", nullptr, nullptr, nullptr)},
        // A service with no action to send must not swallow the restart.
        {{"SBSRelaunchAction", "SBSRestartRenderServerAction"},
         respring("UIApplication", nullptr, nullptr, nullptr)},
    };
    for (const auto& [without, expected] : cases) {
        std::vector<std::string> arguments;
        for (const auto& name : without)
            arguments.insert(arguments.end(), {"--without-class", name});
        arguments.insert(arguments.end(), {"set", "master", "true", "alert", "Respring", "dump"});
        auto run = runHost(arguments);
        ASSERT_EQ(run.exitStatus, 0) << run.errors;
        EXPECT_EQ(run.jsonLines().at(0)["events"], nlohmann::json::array({expected}))
            << "without " << nlohmann::json(without);
    }
}
