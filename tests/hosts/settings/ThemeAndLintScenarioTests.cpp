// The theme colours a person sees, and lint over the pane's lists.
#include "tests/hosts/settings/FixturePane.h"

TEST_F(FixturePane, ThemeColoursFollowTheVersionAndTheAppearance) {
    struct Case {
        const char* os;
        const char* appearance;
        nlohmann::json header;
    };
    const nlohmann::json light = {0.1, 0.2, 0.3, 1.0};
    const nlohmann::json dark = {0.4, 0.5, 0.6, 1.0};
    const Case cases[] = {
        {"13.0", "dark", dark},
        {"13.0", "light", light},
        // Before iOS 13 there is only the light appearance (asking for dark is bad usage).
        {"12.4", "light", light},
    };
    for (const auto& [os, appearance, header] : cases) {
        auto run = runHost({"--os", os, "--appearance", appearance, "dump"});
        ASSERT_EQ(run.exitStatus, 0) << run.errors;
        auto theme = run.jsonLines().at(0)["theme"];
        EXPECT_EQ(theme["headerColour"], header) << os << " " << appearance;
        // The tint has no dark variant: the same in both appearances.
        EXPECT_EQ(theme["tintColour"], nlohmann::json({0.7, 0.8, 0.9, 1.0})) << os << " " << appearance;
    }
}

TEST_F(FixturePane, ATintColourLeftOutFollowsTheConfiguredHeaderColour) {
    auto list = mainList();
    list.remove("tintColour");
    writeList("Corvale", list);
    auto run = runHost({"--os", "13.0", "--appearance", "dark", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto theme = run.jsonLines().at(0)["theme"];
    EXPECT_EQ(theme["tintColour"], theme["headerColour"]);
    EXPECT_EQ(theme["tintColour"], nlohmann::json({0.4, 0.5, 0.6, 1.0}));
}

TEST_F(FixturePane, LintReportsEachFaultWithItsListRowAndValue) {
    auto list = mainList();
    (*list.mutableDictionary())["items"].append(row({{"cell", "PSFancyCell"}, {"label", "Fancy"}}));
    (*list.mutableDictionary())["items"].append(
        row({{"cell", "PSSwitchCell"}, {"label", "Orphan"}, {"key", "orphan"}, {"defaults", defaultsDomain}, {"DependsOn", "nobody"}}));
    (*list.mutableDictionary())["items"].append(
        row({{"cell", "PSSwitchCell"}, {"label", "Numeric Gate"}, {"key", "numericGate"}, {"defaults", defaultsDomain}, {"OSRequirement", 13}}));
    list.set("headerColour:dark", "0.5:0.5");
    list.set("tintColour", 1);
    writeList("Corvale", list);

    auto run = runHost({"lint"});
    EXPECT_EQ(run.exitStatus, 3) << run.errors;
    std::vector<nlohmann::json> found;
    for (auto line : run.jsonLines()) {
        line.erase("problem");
        found.push_back(line);
    }
    auto expected = nlohmann::json::parse(R"([
        {"plist": "Corvale.plist", "label": "Unparsable", "property": "OSRequirement", "value": "major >="},
        {"plist": "Corvale.plist", "label": "Fancy", "property": "cell", "value": "PSFancyCell"},
        {"plist": "Corvale.plist", "label": "Orphan", "property": "DependsOn", "value": "nobody"},
        {"plist": "Corvale.plist", "label": "Numeric Gate", "property": "OSRequirement", "value": 13},
        {"plist": "Corvale.plist", "label": null, "property": "headerColour:dark", "value": "0.5:0.5"},
        {"plist": "Corvale.plist", "label": null, "property": "tintColour", "value": 1},
        {"plist": "Sub.plist", "label": "Sub Dependent", "property": "DependsOn", "value": "subToggle"}
    ])");
    EXPECT_EQ(nlohmann::json(found), expected);
}

TEST_F(FixturePane, LintOfCleanListsPrintsNothingAndSucceeds) {
    auto list = mainList();
    auto& items = *(*list.mutableDictionary())["items"].mutableArray();
    std::erase_if(items, [](const Value& row) { return row["label"] == Value("Unparsable"); });
    writeList("Corvale", list);
    auto sub = subList();
    (*sub.mutableDictionary())["items"].mutableArray()->pop_back();
    writeList("Sub", sub);

    auto run = runHost({"lint", "dump"});
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_EQ(run.jsonLines().at(0)["page"]["class"], "KVCorvaleSettingsController");
}
