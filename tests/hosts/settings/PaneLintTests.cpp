#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/foundation/PropertyList.h"
#include "hosts/settings/PaneLint.h"
#include "tests/support/TemporaryDeviceRoot.h"

using corvale::settingshost::LintProblem;
using corvale::settingshost::PaneLint;

namespace {

constexpr const char* bundle = "/Library/PreferenceBundles/Pane.bundle";

Value listOf(std::vector<Value> rows) {
    return Value::dictionary({{"items", Value(Value::Array(std::move(rows)))}});
}

// Colours with three parts, as the pane reads them; enough to tell the checker is used.
bool threeParts(const std::string& text) {
    return std::count(text.begin(), text.end(), ':') >= 2;
}

std::vector<std::string> describe(const std::vector<LintProblem>& problems) {
    std::vector<std::string> described;
    for (const auto& problem : problems)
        described.push_back(problem.plist + "|" + problem.label.stringValue() + "|" + problem.property + "|" +
                            problem.value.description());
    return described;
}

} // namespace

TEST(PaneLint, DependenciesAreCheckedAgainstTheKeysOfTheSameListWhereverTheyStand) {
    PaneLint lint(bundle, "Main", threeParts);
    auto main = listOf({
        Value::dictionary({{"label", "Early"}, {"DependsOn", "late"}}),
        Value::dictionary({{"label", "Late"}, {"key", "late"}}),
        Value::dictionary({{"label", "Numeric"}, {"DependsOn", 3}}),
        Value::dictionary({{"label", "Case"}, {"DependsOn", "Late"}}),
        Value::dictionary({{"label", "Keyed By Number"}, {"key", 5}}),
        Value::dictionary({{"label", "On Number"}, {"DependsOn", "5"}}),
    });
    EXPECT_EQ(
        describe(lint.lintList("Main.plist", main, true)),
        (std::vector<std::string>{"Main.plist|Numeric|DependsOn|3", "Main.plist|Case|DependsOn|\"Late\"",
                                  "Main.plist|On Number|DependsOn|\"5\""}));
    // The same rows in a sub-page's list are never evaluated at all.
    EXPECT_EQ(lint.lintList("Sub.plist", main, false).size(), 4u);
}

TEST(PaneLint, RequirementsAndCellTypes) {
    PaneLint lint(bundle, "Main", threeParts);
    auto problems = lint.lintList(
        "Main.plist",
        listOf({
            Value::dictionary({{"label", "Fine"}, {"OSRequirement", "major >= 13 AND minor > 2"}}),
            Value::dictionary({{"label", "Cut"}, {"OSRequirement", "major >= (13"}}),
            Value::dictionary({{"label", "Empty"}, {"OSRequirement", ""}}),
            Value::dictionary({{"label", "Plain"}}),
            Value::dictionary({{"label", "Known"}, {"cell", "PSSpinnerCell"}}),
            Value::dictionary({{"label", "Typo"}, {"cell", "PSSwitchcell"}}),
            Value::dictionary({{"label", "Not Named"}, {"cell", true}}),
        }),
        true);
    EXPECT_EQ(describe(problems), (std::vector<std::string>{"Main.plist|Cut|OSRequirement|\"major >= (13\"",
                                                            "Main.plist|Empty|OSRequirement|\"\"",
                                                            "Main.plist|Typo|cell|\"PSSwitchcell\"",
                                                            "Main.plist|Not Named|cell|true"}));
    // The parser's position and reason reach the message.
    EXPECT_NE(problems[0].problem.find("at character"), std::string::npos) << problems[0].problem;
}

TEST(PaneLint, ThemeColoursOfTheMainListOnlyAndWithoutACheckerNone) {
    auto themed = listOf({});
    themed.set("headerColour", "1:0:0");
    themed.set("headerColour:dark", "1:0");
    themed.set("tintColour", 0.5);
    themed.set("tintColour:dark", "0:0:1:0.5");
    themed.set("otherColour", "x");
    PaneLint lint(bundle, "Main", threeParts);
    EXPECT_EQ(
        describe(lint.lintList("Main.plist", themed, true)),
        (std::vector<std::string>{"Main.plist||headerColour:dark|\"1:0\"", "Main.plist||tintColour|0.5"}));
    EXPECT_TRUE(lint.lintList("Sub.plist", themed, false).empty());
    EXPECT_TRUE(PaneLint(bundle, "Main", nullptr).lintList("Main.plist", themed, true).empty());
}

TEST(PaneLint, RunVisitsEveryListOfTheBundleButInfoPlist) {
    TemporaryDeviceRoot root;
    auto broken = listOf({Value::dictionary({{"label", "Bad"}, {"cell", "Nope"}})});
    std::filesystem::create_directories(root.hostPath(bundle));
    for (const char* name : {"Info", "Main", "Zed"})
        ASSERT_TRUE(platform::PropertyList::writeFile(std::string(bundle) + "/" + name + ".plist", broken));
    root.writeFile(std::string(bundle) + "/Garbled.plist", "<plist><dict><key>");
    root.writeFile(std::string(bundle) + "/notes.txt", "not a list");

    auto problems = PaneLint(bundle, "Main", threeParts).run();
    EXPECT_EQ(describe(problems),
              (std::vector<std::string>{"Garbled.plist|||null", "Main.plist|Bad|cell|\"Nope\"",
                                        "Zed.plist|Bad|cell|\"Nope\""}));
}

TEST(PaneLint, ControlRowsThatStoreNothingAndMalformedRowKeys) {
    PaneLint lint(bundle, "Main", threeParts);
    auto problems = lint.lintList(
        "Main.plist",
        listOf({
            Value::dictionary({{"label", "Stored"}, {"cell", "PSSwitchCell"}, {"key", "a"}, {"defaults", "d"}}),
            Value::dictionary({{"label", "No Key"}, {"cell", "PSSwitchCell"}, {"defaults", "d"}}),
            Value::dictionary({{"label", "No Domain"}, {"cell", "PSSliderCell"}, {"key", "b"}}),
            Value::dictionary({{"label", "Own Setter"}, {"cell", "PSSwitchCell"}, {"set", "keep:specifier:"}}),
            Value::dictionary({{"label", "Uneven"}, {"cell", "PSSegmentCell"}, {"key", "c"}, {"defaults", "d"},
                               {"validTitles", Value::array({Value("A"), Value("B")})},
                               {"validValues", Value::array({Value(1)})}}),
            Value::dictionary({{"label", "Nowhere"}, {"cell", "PSLinkListCell"}, {"key", "e"}, {"defaults", "d"}}),
            Value::dictionary({{"label", "Flags"}, {"enabled", "no"}, {"negate", 1}}),
            Value::dictionary({{"label", "Ask"}, {"cell", "PSButtonCell"}, {"confirmation", "Sure?"}}),
            Value::dictionary({{"label", "Odd"}, {"cell", "PSFancyCell"}}),
        }),
        true);
    EXPECT_EQ(describe(problems),
              (std::vector<std::string>{"Main.plist|No Key|key|null", "Main.plist|No Domain|defaults|null",
                                        "Main.plist|Uneven|validTitles|[\"A\",\"B\"]",
                                        "Main.plist|Nowhere|detail|null", "Main.plist|Flags|enabled|\"no\"",
                                        "Main.plist|Flags|negate|1", "Main.plist|Ask|confirmation|\"Sure?\"",
                                        "Main.plist|Odd|cell|\"PSFancyCell\""}));
}
