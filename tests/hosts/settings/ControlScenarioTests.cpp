// Rows with real controls, driven by touches on the screen through the real Settings host; values
// are read back from the preference domain's file.
#include <cmath>
#include <string>

#include "tests/hosts/settings/FixturePane.h"

using dumpline::rowLabelled;
using dumpline::tapAtCentreOf;

namespace {

std::vector<std::string> joined(std::vector<std::string> steps, const std::vector<std::string>& more) {
    steps.insert(steps.end(), more.begin(), more.end());
    return steps;
}

void expectColour(const nlohmann::json& colour, double red, double green, double blue) {
    ASSERT_TRUE(colour.is_array()) << colour;
    EXPECT_NEAR(colour[0].get<double>(), red, 1e-3);
    EXPECT_NEAR(colour[1].get<double>(), green, 1e-3);
    EXPECT_NEAR(colour[2].get<double>(), blue, 1e-3);
}

class ControlRows : public FixturePane {
protected:
    void SetUp() override {
        FixturePane::SetUp();
        auto main = mainList();
        Value items = main["items"];
        auto& rows = *items.mutableArray();
        rows.push_back(row({{"cell", "PSGroupCell"}, {"label", "Controls"}}));
        rows.push_back(row({{"cell", "PSEditTextCell"},
                             {"label", "Name"},
                             {"key", "name"},
                             {"defaults", defaultsDomain},
                             {"placeholder", "Your name"}}));
        rows.push_back(row({{"cell", "PSSecureEditTextCell"},
                             {"label", "Secret"},
                             {"key", "secret"},
                             {"defaults", defaultsDomain},
                             {"default", "abc"}}));
        rows.push_back(row({{"cell", "PSSwitchCell"},
                             {"label", "Locked"},
                             {"key", "locked"},
                             {"defaults", defaultsDomain},
                             {"enabled", false}}));
        rows.push_back(row({{"cell", "PSSwitchCell"},
                             {"label", "Hide Badge"},
                             {"key", "showBadge"},
                             {"defaults", defaultsDomain},
                             {"default", true},
                             {"negate", true}}));
        rows.push_back(row({{"cell", "PSSegmentCell"},
                             {"label", "Mode"},
                             {"key", "mode"},
                             {"defaults", defaultsDomain},
                             {"default", "b"},
                             {"validValues", Value::array({Value("a"), Value("b"), Value("c")})},
                             {"validTitles", Value::array({Value("Alpha"), Value("Beta"), Value("Gamma")})}}));
        main.set("items", std::move(items));
        writeList("Corvale", main);
    }

    // The dump of the page at rest, scrolled so that the row is on screen.
    nlohmann::json dumpShowing(const std::string& label, const std::vector<std::string>& before = {}) {
        auto run = runHost(joined(before, {"tap", label, "dump"}));
        EXPECT_EQ(run.exitStatus, 0) << run.errors;
        auto lines = run.jsonLines();
        return lines.empty() ? nlohmann::json() : lines.back();
    }

    Value stored(const std::string& key) { return readDomain(defaultsDomain)[key]; }
};

} // namespace

TEST_F(ControlRows, ATouchOnTheRespringSwitchStoresItExpandsItsDependentsAndAsksToRespring) {
    auto before = runHost({"dump"});
    ASSERT_EQ(before.exitStatus, 0) << before.errors;
    auto master = rowLabelled(before.jsonLines().at(0), "Master");
    ASSERT_TRUE(master["control"].is_object()) << master;
    EXPECT_EQ(master["control"]["type"], "switch");
    EXPECT_EQ(master["control"]["value"], false);
    EXPECT_LT(rowLabelled(before.jsonLines().at(0), "Dependent")["height"].get<double>(), 1);

    auto run = runHost(joined(tapAtCentreOf(master["control"]["frame"]), {"dump"}));
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto after = run.jsonLines().at(0);
    EXPECT_EQ(stored("master"), Value(true));
    EXPECT_EQ(rowLabelled(after, "Master")["control"]["value"], true);
    EXPECT_EQ(rowLabelled(after, "Dependent")["height"], 44.0);
    ASSERT_TRUE(after["alert"].is_object()) << after["alert"];
}

TEST_F(ControlRows, ATouchOnTheRowsLabelSelectsTheRowAndLeavesTheSwitchAlone) {
    auto before = runHost({"dump"});
    auto master = rowLabelled(before.jsonLines().at(0), "Master");
    auto frame = master["frame"];
    auto run = runHost({"tap-at", std::to_string(frame[0].get<double>() + 30),
                        std::to_string(frame[1].get<double>() + 22), "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_TRUE(stored("master").isNull());
    EXPECT_EQ(rowLabelled(run.jsonLines().at(0), "Master")["control"]["value"], false);
}

TEST_F(ControlRows, ATextFieldStoresTypedTextOnReturnAndASecureFieldShowsBullets) {
    auto shown = dumpShowing("Name");
    auto name = rowLabelled(shown, "Name");
    ASSERT_EQ(name["control"]["type"], "textField") << name;
    EXPECT_TRUE(name["valueText"].is_null());
    auto secret = rowLabelled(shown, "Secret");
    EXPECT_EQ(secret["valueText"], "\u2022\u2022\u2022");
    EXPECT_TRUE(secret["control"]["value"].is_null()) << "a secure field's text is not dumped";

    auto steps = joined({"tap", "Name"}, tapAtCentreOf(name["control"]["frame"]));
    steps = joined(steps, {"type", "Ada", "dump", "return", "dump"});
    auto run = runHost(steps);
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_EQ(rowLabelled(run.jsonLines().at(0), "Name")["valueText"], "Ada");
    EXPECT_EQ(stored("name"), Value("Ada"));

    auto noField = runHost({"type", "x"});
    EXPECT_NE(noField.exitStatus, 0) << "typing needs a field being edited";
}

TEST_F(ControlRows, ADisabledSwitchIgnoresATouchAndANegatedOneStoresTheInverse) {
    auto shown = dumpShowing("Locked");
    auto locked = rowLabelled(shown, "Locked");
    EXPECT_EQ(locked["enabled"], false);
    auto badge = rowLabelled(shown, "Hide Badge");
    EXPECT_EQ(badge["control"]["value"], false) << "shows the inverse of the stored default";

    auto steps = joined({"tap", "Locked"}, tapAtCentreOf(locked["control"]["frame"]));
    steps = joined(steps, tapAtCentreOf(badge["control"]["frame"]));
    steps.push_back("dump");
    auto run = runHost(steps);
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_TRUE(stored("locked").isNull()) << "the disabled switch stored nothing";
    EXPECT_EQ(rowLabelled(run.jsonLines().at(0), "Locked")["control"]["value"], false);
    EXPECT_EQ(stored("showBadge"), Value(false)) << "turned on, it stores false";
    EXPECT_EQ(rowLabelled(run.jsonLines().at(0), "Hide Badge")["control"]["value"], true);
}

TEST_F(ControlRows, SetChangesTheControlAndSegmentsStoreTheirValues) {
    auto run = runHost({"set", "mode", "\"c\"", "set", "showBadge", "true", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto dump = run.jsonLines().at(0);
    EXPECT_EQ(stored("mode"), Value("c"));
    EXPECT_EQ(rowLabelled(dump, "Mode")["control"]["value"], 2);
    EXPECT_EQ(stored("showBadge"), Value(true)) << "set names the stored value";
    EXPECT_EQ(rowLabelled(dump, "Hide Badge")["control"]["value"], false) << "which the negated switch shows inverted";

    auto mode = rowLabelled(dump, "Mode")["control"]["frame"];
    double left = mode[0].get<double>() + mode[2].get<double>() / 6;
    double middle = mode[1].get<double>() + mode[3].get<double>() / 2;
    auto touched = runHost({"tap", "Mode", "tap-at", std::to_string(left), std::to_string(middle), "dump"});
    ASSERT_EQ(touched.exitStatus, 0) << touched.errors;
    EXPECT_EQ(stored("mode"), Value("a"));
}

TEST_F(ControlRows, SwitchesOnTheRootPageAndASubPageCarryTheThemeTint) {
    auto run = runHost({"dump", "tap", "More Options", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto root = run.jsonLines().at(0);
    expectColour(rowLabelled(root, "Master")["control"]["tintColour"], 0.7, 0.8, 0.9);
    auto sub = run.jsonLines().at(1);
    expectColour(rowLabelled(sub, "Sub Toggle")["control"]["tintColour"], 0.7, 0.8, 0.9);
    EXPECT_LE(sub["page"]["contentOffset"].get<double>(), 0);
    EXPECT_NEAR(sub["page"]["contentOffset"].get<double>(), -sub["page"]["insetTop"].get<double>(), 0.5)
        << "a page at rest sits at minus its top inset";
}

TEST_F(ControlRows, APresentedAlertIsModalAndItsButtonsAnswerATouch) {
    auto shown = runHost({"set", "master", "true", "dump"});
    ASSERT_EQ(shown.exitStatus, 0) << shown.errors;
    auto dump = shown.jsonLines().at(0);
    ASSERT_TRUE(dump["alert"].is_object()) << dump["alert"];
    auto dependent = rowLabelled(dump, "Dependent")["control"];
    ASSERT_TRUE(dependent.is_object()) << dependent;
    nlohmann::json notNow;
    for (const auto& action : dump["alert"]["actions"])
        if (action["title"] == "Not Now")
            notNow = action;
    ASSERT_TRUE(notNow["frame"].is_array()) << dump["alert"];

    // Under the alert, the dependent switch takes no touch; the alert's button does.
    auto steps = joined({"set", "master", "true"}, tapAtCentreOf(dependent["frame"]));
    steps.push_back("dump");
    steps = joined(steps, tapAtCentreOf(notNow["frame"]));
    steps.push_back("dump");
    auto run = runHost(steps);
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto lines = run.jsonLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0]["alert"].is_object()) << "a touch beside the card leaves the alert up";
    EXPECT_EQ(rowLabelled(lines[0], "Dependent")["control"]["value"], true) << "and reaches nothing below";
    EXPECT_TRUE(lines[1]["alert"].is_null()) << "its button answers it";
    EXPECT_EQ(stored("master"), Value(true)) << "Not Now keeps the value";
    EXPECT_TRUE(stored("dependent").isNull());
}
