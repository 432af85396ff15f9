// The Settings app's own list of installed panes, with a second pane beside the example one: a
// simple pane whose entry file holds its rows.
#include <string>

#include "platform/foundation/PropertyList.h"
#include "tests/hosts/settings/SettingsHostScenario.h"

using dumpline::labels;
using dumpline::rowLabelled;

namespace {

constexpr const char* simpleDomain = "dev.test.simplepane";

class SettingsApp : public SettingsHostScenario {
protected:
    void SetUp() override {
        SettingsHostScenario::SetUp();
        // "Zeta" sorts after the example's entry file, so the list shows Corvale first.
        auto entry = Value::dictionary({{"cell", "PSLinkCell"}, {"label", "Simple Pane"}});
        auto file = list({row({{"cell", "PSGroupCell"}, {"label", "Options"}}),
                          row({{"cell", "PSSwitchCell"},
                               {"label", "Simple Switch"},
                               {"key", "on"},
                               {"defaults", simpleDomain},
                               {"default", false}})},
                         {{"title", "Simple"}});
        file.set("entry", std::move(entry));
        ASSERT_TRUE(platform::PropertyList::writeFile("/Library/PreferenceLoader/Preferences/Zeta.plist", file));
    }

};

} // namespace

TEST_F(SettingsApp, SeveralPanesStartOnTheListWhichOpensEachAndHomeReturnsToIt) {
    auto run = runHost({"dump", "tap", "Simple Pane", "dump", "home", "dump", "tap", "Corvale", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto lines = run.jsonLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0]["page"]["class"], "PSUIPrefsListController");
    EXPECT_EQ(labels(lines[0]), (std::vector<std::string>{"Corvale", "Simple Pane"}));
    EXPECT_EQ(lines[1]["page"]["class"], "PSListController");
    EXPECT_EQ(lines[1]["page"]["title"], "Simple");
    EXPECT_EQ(labels(lines[1]), (std::vector<std::string>{"Simple Switch"}));
    EXPECT_EQ(lines[2]["page"]["class"], "PSUIPrefsListController");
    EXPECT_EQ(lines[3]["page"]["class"], "KVCorvaleSettingsController");
}

TEST_F(SettingsApp, TheSecondPanesSwitchStoresInItsOwnDomainAndBackLeadsToTheList) {
    auto shown = runHost({"tap", "Simple Pane", "dump"});
    ASSERT_EQ(shown.exitStatus, 0) << shown.errors;
    auto control = rowLabelled(shown.jsonLines().at(0), "Simple Switch")["control"];
    ASSERT_TRUE(control.is_object()) << control;
    auto steps = std::vector<std::string>{"tap", "Simple Pane"};
    for (const auto& operand : dumpline::tapAtCentreOf(control["frame"]))
        steps.push_back(operand);
    steps.insert(steps.end(), {"back", "dump"});
    auto run = runHost(steps);
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_EQ(readDomain(simpleDomain)["on"], Value(true));
    EXPECT_EQ(run.jsonLines().at(0)["page"]["class"], "PSUIPrefsListController");
}

TEST_F(SettingsApp, PaneOpensTheLabelledPaneAtLaunchAndAnUnknownLabelFails) {
    auto run = runHost({"--pane", "Simple Pane", "dump", "home", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_EQ(run.jsonLines().at(0)["page"]["title"], "Simple");
    EXPECT_EQ(run.jsonLines().at(1)["page"]["class"], "PSUIPrefsListController");

    auto corvale = runHost({"--pane", "Corvale", "dump"});
    ASSERT_EQ(corvale.exitStatus, 0) << corvale.errors;
    EXPECT_EQ(corvale.jsonLines().at(0)["page"]["class"], "KVCorvaleSettingsController");

    auto unknown = runHost({"--pane", "Nothing Here", "dump"});
    EXPECT_EQ(unknown.exitStatus, 1);
    EXPECT_NE(unknown.errors.find("Nothing Here"), std::string::npos) << unknown.errors;
}

TEST_F(SettingsApp, LintNeedsAnOpenPaneWithABundle) {
    auto atHome = runHost({"lint"});
    EXPECT_EQ(atHome.exitStatus, 1);
    EXPECT_NE(atHome.errors.find("lint"), std::string::npos) << atHome.errors;
    auto inPane = runHost({"--pane", "Corvale", "lint"});
    EXPECT_EQ(inPane.exitStatus, 0) << inPane.errors;
}
