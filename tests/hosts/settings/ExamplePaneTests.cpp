// The example pane as installed, untouched: what `make run` shows.
#include "tests/hosts/settings/SettingsHostScenario.h"

TEST_F(SettingsHostScenario, TheExamplePaneOpensOnItsThemedRootPage) {
    auto run = runHost({"--os", "13.0", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto dump = run.jsonLines().at(0);
    EXPECT_EQ(dump["page"]["class"], "KVCorvaleSettingsController");
    EXPECT_EQ(dump["page"]["title"], "Corvale");
    // The theme comes from the list that the opening row's "bundle" leads to.
    EXPECT_EQ(dump["theme"]["headerColour"], nlohmann::json({0.2, 0.45, 0.9, 1.0}));
    EXPECT_FALSE(dumpline::rows(dump).empty());
}
