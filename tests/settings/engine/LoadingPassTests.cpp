#include <algorithm>
#include <string>
#include <vector>

#include "tests/settings/engine/PaneFixture.h"
#include "platform/preferences/PreferencesInteraction.h"
#include "settings/rootpage/KVCorvaleSettingsController.h"

namespace {

// Exposes the visibility state, which is the page's own bookkeeping. The base page keeps exactly
// the list's rows; the root page adds its own group and credits area around them.
class InspectablePage : public KVCorvaleBaseSettingsController {
public:
    const Value& visibility() const { return visibilityForDependedUponItems; }
};

// The root page answers the notification buttons' action.
class InspectableRootPage : public KVCorvaleSettingsController {
public:
    const Value& visibility() const { return visibilityForDependedUponItems; }
};

class LoadingPass : public PaneFixture {
protected:
    std::vector<std::string> labelsOf(const std::shared_ptr<PSListController>& page) {
        std::vector<std::string> labels;
        for (const auto& row : *page->specifiers())
            labels.push_back(row->name());
        return labels;
    }
    CGFloat heightOf(const std::shared_ptr<PSListController>& page, std::string_view label) {
        auto row = platform::PreferencesInteraction::rowWithLabel(page, label);
        return page->tableViewHeightForRowAtIndexPath(page->table(), page->indexPathForSpecifier(row));
    }
};

TEST_F(LoadingPass, VersionRequirementsRemoveRowsBeforeAnythingElseSeesThem) {
    writeList("Tweak", {
                           withKey(switchRow("Modern", "modern", true), "OSRequirement", "major >= 13"),
                           withKey(switchRow("Legacy", "legacy", true), "OSRequirement",
                                   "major < 13 OR (major == 13 AND minor < 0)"),
                           withKey(switchRow("Unparsable", "odd", true), "OSRequirement", "major >>> 3"),
                           withKey(switchRow("Not a string", "typed", true), "OSRequirement", 13),
                           withKey(switchRow("Needs modern", "x", true), "DependsOn", "modern"),
                           Value::dictionary({{"cell", "PSButtonCell"},
                                              {"label", "Legacy button"},
                                              {"PostNotification", "dev.example/legacy"},
                                              {"OSRequirement", "major < 13"}}),
                       });

    platform::SimulatedDevice::setOSVersion({12, 4, 0});
    auto old = openPage<InspectablePage>();
    EXPECT_EQ(labelsOf(old), (std::vector<std::string>{"Legacy", "Needs modern", "Legacy button"}));
    // The removed row's key cannot satisfy a dependency, even though its stored default is true.
    EXPECT_EQ(old->visibility(), Value::dictionary({{"modern", false}}));
    EXPECT_EQ(heightOf(old, "Needs modern"), KVCorvaleBaseSettingsController::collapsedRowHeight);
    EXPECT_EQ(platform::PreferencesInteraction::rowWithLabel(old, "Legacy button")->action,
              "notificationButtonPerformedAction:");

    platform::SimulatedDevice::setOSVersion({13, 0, 0});
    auto current = openPage<InspectablePage>();
    EXPECT_EQ(labelsOf(current), (std::vector<std::string>{"Modern", "Needs modern"}));
    EXPECT_EQ(current->visibility(), Value::dictionary({{"modern", true}}));
    EXPECT_EQ(heightOf(current, "Needs modern"), PSListController::defaultRowHeight);
}

TEST_F(LoadingPass, LaterRowWithTheSameKeyDecidesAndOddValuesAreLeftOut) {
    auto memoryRow = [](std::string label, bool defaultValue) {
        // No domain: the value lives in the row, so two rows with one key can disagree.
        return Value::dictionary({{"cell", "PSSwitchCell"},
                                  {"label", std::move(label)},
                                  {"key", "shared"},
                                  {"default", defaultValue}});
    };
    writeList("Tweak",
              {
                  memoryRow("First", false),
                  memoryRow("Second", true),
                  withKey(switchRow("Dependent", "d", false), "DependsOn", "shared"),
                  withKey(switchRow("Numeric dependency", "n", false), "DependsOn", 7),
                  withKey(switchRow("Orphan", "o", false), "DependsOn", "nobody"),
                  Value::dictionary(
                      {{"cell", "PSSwitchCell"}, {"label", "Numeric key"}, {"key", 7}, {"default", true}}),
                  Value::dictionary({{"cell", "PSSwitchCell"}, {"label", "Tall"}, {"height", 80}}),
              });
    auto page = openPage<InspectablePage>();
    ASSERT_NE(page->specifiers(), nullptr);
    EXPECT_EQ(page->visibility(), Value::dictionary({{"shared", true}, {"nobody", false}}));
    EXPECT_EQ(heightOf(page, "Dependent"), PSListController::defaultRowHeight);
    EXPECT_EQ(heightOf(page, "Numeric dependency"), KVCorvaleBaseSettingsController::collapsedRowHeight);
    EXPECT_EQ(heightOf(page, "Orphan"), KVCorvaleBaseSettingsController::collapsedRowHeight);
    EXPECT_EQ(heightOf(page, "Tall"), 80);

    writeList("Tweak", {memoryRow("Second", true), memoryRow("First", false),
                        withKey(switchRow("Dependent", "d", false), "DependsOn", "shared")});
    page->refreshSpecifiers();
    EXPECT_EQ(page->visibility(), Value::dictionary({{"shared", false}}));
    EXPECT_EQ(heightOf(page, "Dependent"), KVCorvaleBaseSettingsController::collapsedRowHeight);
}

TEST_F(LoadingPass, OnlyButtonRowsWithANotificationGetTheNotificationAction) {
    writeList(
        "Tweak",
        {
            Value::dictionary(
                {{"cell", "PSButtonCell"}, {"label", "Reload"}, {"PostNotification", "dev.example/reload"}}),
            Value::dictionary({{"cell", "PSButtonCell"}, {"label", "Odd"}, {"PostNotification", 3}}),
            Value::dictionary({{"cell", "PSButtonCell"},
                               {"label", "Plain"},
                               {"action", "URLSpecifierPerformedAction:"},
                               {"url", "https://halcyra.example/help"}}),
            withKey(switchRow("Switch", "s", false), "PostNotification", "dev.example/switch"),
        });
    auto page = openPage<InspectableRootPage>();
    EXPECT_TRUE(page->visibility().isNull()) << "no pass has run yet";
    ASSERT_NE(page->specifiers(), nullptr);
    EXPECT_TRUE(page->visibility().isDictionary());
    EXPECT_EQ(page->visibility().count(), 0u);
    auto row = [&](std::string_view label) {
        return platform::PreferencesInteraction::rowWithLabel(page, label);
    };
    EXPECT_EQ(row("Reload")->action, "notificationButtonPerformedAction:");
    EXPECT_EQ(row("Odd")->action, "notificationButtonPerformedAction:");
    EXPECT_EQ(row("Plain")->action, "URLSpecifierPerformedAction:");
    EXPECT_EQ(row("Switch")->action, "");

    ASSERT_TRUE(platform::PreferencesInteraction::tapRowWithLabel(page, "Reload"));
    EXPECT_EQ(platform::DarwinNotificationLog::shared().takePosted(),
              std::vector<std::string>{"dev.example/reload"});
    ASSERT_TRUE(platform::PreferencesInteraction::tapRowWithLabel(page, "Plain"));
    auto events = platform::DeviceEventLog::shared().take();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]["openURL"], Value("https://halcyra.example/help"));
}

TEST_F(LoadingPass, MissingListLeavesNoRowsAndTriesAgain) {
    auto page = openPage<InspectablePage>();
    EXPECT_EQ(page->specifiers(), nullptr);
    writeList("Tweak", {switchRow("Late", "late", true)});
    ASSERT_NE(page->specifiers(), nullptr);
    EXPECT_EQ(labelsOf(page), std::vector<std::string>{"Late"});
}

} // namespace
