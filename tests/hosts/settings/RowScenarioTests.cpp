// The pane's rows as the Settings host shows them: version gates, dependent rows, buttons and
// sub-pages, driven through the real executable on an installed device.
#include "tests/hosts/settings/FixturePane.h"

using dumpline::labels;
using dumpline::rowLabelled;

namespace {

bool contains(const std::vector<std::string>& labels, const std::string& label) {
    return std::find(labels.begin(), labels.end(), label) != labels.end();
}

} // namespace

TEST_F(FixturePane, RowsGatedByOSRequirementFollowTheRunningVersion) {
    auto before13 = runHost({"--os", "12.4", "dump"});
    ASSERT_EQ(before13.exitStatus, 0) << before13.errors;
    auto rowsBefore13 = labels(before13.jsonLines().at(0));
    EXPECT_TRUE(contains(rowsBefore13, "Legacy Only"));
    EXPECT_FALSE(contains(rowsBefore13, "Modern Only"));

    auto at13 = runHost({"--os", "13.0", "dump"});
    ASSERT_EQ(at13.exitStatus, 0) << at13.errors;
    auto rowsAt13 = labels(at13.jsonLines().at(0));
    EXPECT_TRUE(contains(rowsAt13, "Modern Only"));
    EXPECT_FALSE(contains(rowsAt13, "Legacy Only"));

    // A requirement that cannot be checked is not met, on any version.
    EXPECT_FALSE(contains(rowsBefore13, "Unparsable"));
    EXPECT_FALSE(contains(rowsAt13, "Unparsable"));
}

TEST_F(FixturePane, RequirementsMayWriteNumbersInHexadecimalOctalOrBinary) {
    auto list = mainList();
    auto& items = *(*list.mutableDictionary())["items"].mutableArray();
    auto gated = [](const std::string& label, const std::string& requirement) {
        return row({{"cell", "PSSwitchCell"}, {"label", label}, {"OSRequirement", requirement}});
    };
    items.push_back(gated("Hex Gate", "major >= 0x0D"));
    items.push_back(gated("Octal Gate", "major >= 0o15"));
    items.push_back(gated("Binary Gate", "major >= 0b1101 AND minor >= 0x1"));
    writeList("Corvale", list);

    for (const char* os : {"12.4", "13.0", "14.2"}) {
        auto run = runHost({"--os", os, "dump"});
        ASSERT_EQ(run.exitStatus, 0) << run.errors;
        auto rows = labels(run.jsonLines().at(0));
        bool modern = std::string(os) != "12.4";
        EXPECT_EQ(contains(rows, "Hex Gate"), modern) << os;
        EXPECT_EQ(contains(rows, "Octal Gate"), modern) << os;
        EXPECT_EQ(contains(rows, "Binary Gate"), std::string(os) == "14.2") << os;
    }
}

TEST_F(FixturePane, DumpShowsSectionsFootersAndStoredValues) {
    auto run = runHost({"dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto dump = run.jsonLines().at(0);
    EXPECT_EQ(dump["page"]["class"], "KVCorvaleSettingsController");
    EXPECT_EQ(dump["page"]["title"], "Corvale");
    // The root page opens with an untitled group of its own and closes with the credits area.
    ASSERT_EQ(dump["sections"].size(), 5u);
    EXPECT_TRUE(dump["sections"][0]["rows"].empty());
    EXPECT_EQ(dump["sections"][1]["footer"], "Applies after a respring.");
    EXPECT_TRUE(dump["sections"][2]["footer"].is_null());
    // Group rows open sections and are not rows themselves.
    EXPECT_FALSE(contains(labels(dump), "General"));
    auto master = rowLabelled(dump, "Master");
    for (const char* field : {"frame", "enabled", "valueText", "control"})
        master.erase(field);
    EXPECT_EQ(master, nlohmann::json({{"cell", "PSSwitchCell"},
                                      {"label", "Master"},
                                      {"key", "master"},
                                      {"id", "Master"},
                                      {"height", 44.0},
                                      {"value", false}}));
    EXPECT_EQ(rowLabelled(dump, "Level")["value"], 0.5);
    EXPECT_TRUE(rowLabelled(dump, "Ping")["key"].is_null());
    EXPECT_TRUE(rowLabelled(dump, "Ping")["value"].is_null());
    EXPECT_TRUE(dump["alert"].is_null());
}

TEST_F(FixturePane, DependentRowsCollapseUntilTheirSwitchIsOnAndTheAlertFollowsTheVisibilityChange) {
    auto run = runHost({"dump", "set", "master", "true", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto lines = run.jsonLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(rowLabelled(lines[0], "Dependent")["height"], 0.01);
    EXPECT_EQ(rowLabelled(lines[0], "Level")["height"], 0.01);
    EXPECT_EQ(rowLabelled(lines[0], "Master")["height"], 44.0);

    // The same dump that shows the respring alert already shows the rows grown.
    EXPECT_EQ(rowLabelled(lines[1], "Master")["value"], true);
    EXPECT_EQ(rowLabelled(lines[1], "Dependent")["height"], 44.0);
    EXPECT_EQ(rowLabelled(lines[1], "Level")["height"], 44.0);
    // Where the buttons are is the modal-touch scenario's business.
    auto alert = lines[1]["alert"];
    for (auto& action : alert["actions"])
        action.erase("frame");
    EXPECT_EQ(
        alert,
        nlohmann::json({{"title", "Respring Required"},
                        {"message", "This setting requires a respring in order to take effect. Would you "
                                    "like to restart SpringBoard now?"},
                        {"actions",
                         {{{"title", "Respring"}, {"style", "default"}, {"preferred", true}},
                          {{"title", "Not Now"}, {"style", "cancel"}, {"preferred", false}}}}}));
    EXPECT_EQ(readDomain(defaultsDomain)["master"], Value(true));
}

TEST_F(FixturePane, NotNowKeepsTheValueAndEveryLaterWriteAsksAgain) {
    auto run =
        runHost({"set", "master", "true", "alert", "Not Now", "dump", "set", "master", "false", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto lines = run.jsonLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0]["alert"].is_null());
    EXPECT_EQ(lines[0]["events"], nlohmann::json::array());
    EXPECT_EQ(rowLabelled(lines[0], "Master")["value"], true);

    EXPECT_EQ(rowLabelled(lines[1], "Dependent")["height"], 0.01);
    EXPECT_EQ(lines[1]["alert"]["title"], "Respring Required");
}

TEST_F(FixturePane, ButtonsPostTheirNotificationAndOpenTheirLinkAndEachDumpReportsOnlyNewEvents) {
    auto run = runHost({"tap", "Ping", "tap", "Website", "dump", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto lines = run.jsonLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]["events"], nlohmann::json::parse(R"([{"notification": "dev.test.corvale/ping"},
                                                           {"openURL": "https://example.test/corvale"}])"));
    EXPECT_EQ(lines[1]["events"], nlohmann::json::array());
}

TEST_F(FixturePane, ASubPageShowsItsOwnRowsWithoutTheLoadingPass) {
    auto run = runHost({"--os", "13.0", "tap", "More Options", "dump", "back", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto lines = run.jsonLines();
    ASSERT_EQ(lines.size(), 2u);
    const auto& subPage = lines[0];
    EXPECT_EQ(subPage["page"]["class"], "KVCorvaleSettingsSubController");
    EXPECT_EQ(labels(subPage),
              (std::vector<std::string>{"Sub Modern", "Sub Legacy", "Sub Toggle", "Sub Dependent"}));
    // Its switch is on, but nothing evaluates dependencies on a sub-page.
    EXPECT_EQ(rowLabelled(subPage, "Sub Toggle")["value"], true);
    EXPECT_EQ(rowLabelled(subPage, "Sub Dependent")["height"], 0.01);
    // Sub-pages take the pane's theme too.
    EXPECT_EQ(subPage["theme"]["headerColour"], nlohmann::json({0.1, 0.2, 0.3, 1.0}));

    EXPECT_EQ(lines[1]["page"]["class"], "KVCorvaleSettingsController");
}
