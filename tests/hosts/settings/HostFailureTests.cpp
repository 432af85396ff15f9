// What the host says and how it exits when it is misused or a step cannot run.
#include "tests/hosts/settings/FixturePane.h"

TEST_F(FixturePane, AStepThatCannotRunStopsTheScriptWithStatusOne) {
    struct Case {
        std::vector<std::string> steps;
        std::string message;
    };
    const Case cases[] = {
        {{"dump", "tap", "Nowhere", "dump"}, "no row labelled 'Nowhere'"},
        {{"dump", "set", "missing", "true", "dump"}, "no row with the key 'missing'"},
        {{"dump", "alert", "Respring", "dump"}, "no alert is presented"},
        {{"dump", "back", "dump"}, "first page"},
        {{"set", "master", "true", "dump", "alert", "Later", "dump"}, "has no action 'Later'"},
        {{"set", "master", "true", "dump", "tap", "Ping", "dump"}, "an alert covers the page"},
    };
    for (const auto& [steps, message] : cases) {
        auto run = runHost(steps);
        EXPECT_EQ(run.exitStatus, 1) << nlohmann::json(steps);
        EXPECT_NE(run.errors.find(message), std::string::npos) << run.errors;
        // The dump before the failing step ran; the one after it did not.
        EXPECT_EQ(run.lines.size(), 1u) << nlohmann::json(steps);
    }
}

TEST_F(FixturePane, BadUsageExitsWithStatusTwoBeforeOpeningThePane) {
    const std::vector<std::string> cases[] = {
        {},
        {"jump"},
        {"--os", "thirteen", "dump"},
        {"--appearance", "dim", "dump"},
        {"--without-class", "SpringBoard", "dump"},
        {"set", "master"},
        {"set", "master", "yes please"},
        {"--bogus", "1", "dump"},
    };
    for (const auto& arguments : cases) {
        auto run = runHost(arguments);
        EXPECT_EQ(run.exitStatus, 2) << nlohmann::json(arguments);
        EXPECT_TRUE(run.lines.empty()) << nlohmann::json(arguments);
        EXPECT_NE(run.errors.find("--help"), std::string::npos) << run.errors;
    }
}

TEST_F(FixturePane, DarkAppearanceBeforeIOS13IsBadUsage) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--os", "12.4", "--appearance", "dark", "dump"},
          std::vector<std::string>{"--appearance=dark", "--os", "12.0", "dump"}}) {
        auto run = runHost(arguments);
        EXPECT_EQ(run.exitStatus, 2) << nlohmann::json(arguments);
        EXPECT_TRUE(run.lines.empty());
        EXPECT_NE(run.errors.find("dark appearance needs iOS 13"), std::string::npos) << run.errors;
    }
    EXPECT_EQ(runHost({"--os", "12.4", "--appearance", "light", "dump"}).exitStatus, 0);
    EXPECT_EQ(runHost({"--os", "13.0", "--appearance", "dark", "dump"}).exitStatus, 0);
}

TEST_F(FixturePane, HelpDescribesTheStepsAndSucceeds) {
    auto run = runHost({"--help"});
    EXPECT_EQ(run.exitStatus, 0);
    std::string help;
    for (const auto& line : run.lines)
        help += line + "\n";
    for (const char* word :
         {"dump", "set KEY VALUE", "tap LABEL", "alert TITLE", "back", "lint", "--without-class"})
        EXPECT_NE(help.find(word), std::string::npos) << word;
}

TEST_F(FixturePane, ADeviceWithoutThePaneCannotOpenIt) {
    std::filesystem::remove_all(m_root.hostPath("/Library/PreferenceLoader"));
    auto run = runHost({"dump"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_NE(run.errors.find("cannot open the pane"), std::string::npos) << run.errors;
    EXPECT_TRUE(run.lines.empty());
}
