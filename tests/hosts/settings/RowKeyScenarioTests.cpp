// Row types and keys beyond switches, driven through the real Settings host: a list row and its page
// of choices, a confirmed button, a slider showing its value, a title-value row and a row without a
// "cell"; values are read back from the preference domain's file.
#include <string>

#include "tests/hosts/settings/FixturePane.h"

using dumpline::rowLabelled;

namespace {

class RowKeys : public FixturePane {
protected:
    void SetUp() override {
        FixturePane::SetUp();
        auto titles = Value::array({Value("Small"), Value("Medium"), Value("Large")});
        auto values = Value::array({Value(1), Value(2), Value(3)});
        writeList("Corvale",
                  list({row({{"cell", "PSGroupCell"}, {"label", "Keys"}}),
                        row({{"cell", "PSLinkListCell"},
                             {"label", "Size"},
                             {"key", "size"},
                             {"defaults", defaultsDomain},
                             {"default", 2},
                             {"detail", "PSListItemsController"},
                             {"validTitles", titles},
                             {"validValues", values}}),
                        row({{"cell", "PSTitleValueCell"},
                             {"label", "Shown Size"},
                             {"key", "size"},
                             {"defaults", defaultsDomain},
                             {"default", 2},
                             {"validTitles", titles},
                             {"validValues", values}}),
                        row({{"cell", "PSSliderCell"},
                             {"label", "Level"},
                             {"key", "level"},
                             {"defaults", defaultsDomain},
                             {"default", 5},
                             {"min", 0},
                             {"max", 10},
                             {"showValue", true}}),
                        row({{"cell", "PSButtonCell"},
                             {"label", "Reset"},
                             {"PostNotification", "dev.test.corvale/reset"},
                             {"confirmation", Value::dictionary({{"title", "Reset?"},
                                                                 {"prompt", "Every value goes back."},
                                                                 {"okTitle", "Reset"},
                                                                 {"cancelTitle", "Keep"},
                                                                 {"isDestructive", true}})}}),
                        row({{"label", "Plain Row"}})},
                       {{"title", "Corvale"}}));
    }


    Value stored(const std::string& key) const { return readDomain(defaultsDomain)[key]; }
};

} // namespace

TEST_F(RowKeys, AListRowsPageChecksTheStoredChoiceStoresATappedOneAndBackShowsItsTitle) {
    auto run = runHost({"dump", "tap", "Size", "dump", "tap", "Large", "dump", "back", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto lines = run.jsonLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(rowLabelled(lines[0], "Size")["valueText"], "Medium");
    EXPECT_EQ(rowLabelled(lines[0], "Shown Size")["valueText"], "Medium");

    EXPECT_EQ(lines[1]["page"]["class"], "PSListItemsController");
    EXPECT_EQ(rowLabelled(lines[1], "Medium")["checked"], true);
    EXPECT_EQ(rowLabelled(lines[1], "Large")["checked"], false);
    EXPECT_EQ(rowLabelled(lines[2], "Large")["checked"], true);
    EXPECT_EQ(rowLabelled(lines[2], "Medium")["checked"], false);
    EXPECT_EQ(stored("size"), Value(3));

    EXPECT_EQ(rowLabelled(lines[3], "Size")["valueText"], "Large");
    EXPECT_EQ(rowLabelled(lines[3], "Shown Size")["valueText"], "Large");
}

TEST_F(RowKeys, AConfirmationsCancelRunsNothingAndItsOKRunsTheAction) {
    auto run = runHost({"tap", "Reset", "dump", "alert", "Keep", "dump", "tap", "Reset", "alert", "Reset", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto lines = run.jsonLines();
    ASSERT_EQ(lines.size(), 3u);
    ASSERT_TRUE(lines[0]["alert"].is_object()) << lines[0]["alert"];
    EXPECT_EQ(lines[0]["alert"]["title"], "Reset?");
    EXPECT_EQ(lines[0]["events"].size(), 0u) << "nothing runs before the answer";
    EXPECT_TRUE(lines[1]["alert"].is_null());
    EXPECT_EQ(lines[1]["events"].size(), 0u) << "cancel runs nothing";
    ASSERT_EQ(lines[2]["events"].size(), 1u) << lines[2]["events"];
    EXPECT_NE(lines[2]["events"][0].dump().find("dev.test.corvale/reset"), std::string::npos)
        << lines[2]["events"][0];
}

TEST_F(RowKeys, ASliderShowsItsValueAndATouchOnItsTrackStoresTheNewOne) {
    auto before = runHost({"dump"});
    ASSERT_EQ(before.exitStatus, 0) << before.errors;
    auto level = rowLabelled(before.jsonLines().at(0), "Level");
    EXPECT_EQ(level["valueText"], "5");
    ASSERT_EQ(level["control"]["type"], "slider") << level;
    EXPECT_EQ(level["control"]["value"], 5.0);

    // The far right end of the track sets the maximum.
    auto frame = level["control"]["frame"];
    double right = frame[0].get<double>() + frame[2].get<double>() - 1;
    double middle = frame[1].get<double>() + frame[3].get<double>() / 2;
    auto run = runHost({"tap-at", std::to_string(right), std::to_string(middle), "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_EQ(stored("level"), Value(10.0));
    EXPECT_EQ(rowLabelled(run.jsonLines().at(0), "Level")["valueText"], "10");
}

TEST_F(RowKeys, ARowWithoutACellIsADefaultCell) {
    auto run = runHost({"dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto plain = rowLabelled(run.jsonLines().at(0), "Plain Row");
    EXPECT_EQ(plain["cell"], "PSDefaultCell");
    EXPECT_TRUE(plain["control"].is_null());
}
