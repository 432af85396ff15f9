#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/platform/preferences/PreferencesPageFixture.h"
#include "platform/corefoundation/CFPreferences.h"
#include "platform/corefoundation/DarwinNotificationLog.h"
#include "platform/corefoundation/PreferencesStore.h"
#include "platform/foundation/PropertyList.h"
#include "platform/preferences/PSListController.h"
#include "platform/preferences/PreferencesInteraction.h"

namespace {

constexpr std::string_view domain = "dev.example.fixture";
constexpr std::string_view domainFile = "/var/mobile/Library/Preferences/dev.example.fixture.plist";

using PreferenceValueTest = PreferencesPageFixture;

Value switchRow(std::string label, std::string key, Value::Dictionary extra = {}) {
    Value row(std::move(extra));
    row.set("cell", "PSSwitchCell");
    row.set("label", std::move(label));
    row.set("key", std::move(key));
    return row;
}

TEST_F(PreferenceValueTest, ReadingTakesTheStoredValueElseTheRowsDefault) {
    writeList("Root",
              {
                  switchRow("Stored", "stored", {{"defaults", std::string(domain)}, {"default", false}}),
                  switchRow("Defaulted", "defaulted", {{"defaults", std::string(domain)}, {"default", 7}}),
                  switchRow("Bare", "bare", {{"defaults", std::string(domain)}}),
                  switchRow("Elsewhere", "stored", {{"defaults", "dev.example.other"}, {"default", "x"}}),
              });
    writeValue(std::string(domainFile), Value::dictionary({{"stored", true}, {"bare", "text"}}));
    auto page = pageShowing("Root");
    auto rows = *page->specifiers();

    EXPECT_EQ(page->readPreferenceValue(rows[0]), Value(true)) << "the domain wins over the default";
    EXPECT_EQ(page->readPreferenceValue(rows[1]), Value(7));
    EXPECT_EQ(page->readPreferenceValue(rows[2]).asString(), "text");
    EXPECT_EQ(page->readPreferenceValue(rows[3]).asString(), "x") << "each row reads its own domain";
    EXPECT_TRUE(page->readPreferenceValue(nullptr).isNull());

    CFPreferencesSetAppValue("bare", nullptr, domain);
    EXPECT_TRUE(page->readPreferenceValue(rows[2]).isNull()) << "neither stored nor defaulted";

    // The getter selector reaches the same reader.
    EXPECT_EQ(objc_msgSend(page, rows[0]->getter, {MessageValue(rows[0])}).value(), Value(true));
}

TEST_F(PreferenceValueTest, WritingStoresTheDomainOnDiskThenPostsTheRowsNotification) {
    writeList("Root",
              {
                  switchRow("Enabled", "enabled",
                            {{"defaults", std::string(domain)}, {"PostNotification", "dev.example/changed"}}),
                  switchRow("Quiet", "quiet", {{"defaults", std::string(domain)}}),
                  switchRow("Memory", "memory", {{"default", 1}}),
              });
    auto page = pageShowing("Root");
    auto rows = *page->specifiers();

    page->setPreferenceValue(true, rows[0]);
    auto onDisk = platform::PropertyList::readFile(domainFile);
    ASSERT_TRUE(onDisk.has_value());
    EXPECT_EQ((*onDisk)["enabled"], Value(true));
    EXPECT_EQ(platform::DarwinNotificationLog::shared().takePosted(),
              std::vector<std::string>{"dev.example/changed"});

    page->setPreferenceValue(42, rows[1]);
    EXPECT_TRUE(platform::DarwinNotificationLog::shared().takePosted().empty());
    platform::PreferencesStore::shared().resetForNewProcess();
    EXPECT_EQ(CFPreferencesCopyAppValue("quiet", domain).integerValue(), 42)
        << "synchronised, not just cached";
    EXPECT_EQ(CFPreferencesCopyAppValue("enabled", domain), Value(true));

    page->setPreferenceValue(nullptr, rows[1]);
    EXPECT_FALSE(platform::PropertyList::readFile(domainFile)->contains("quiet"));

    // A row without a domain keeps its value in memory.
    EXPECT_EQ(page->readPreferenceValue(rows[2]), Value(1));
    page->setPreferenceValue(5, rows[2]);
    EXPECT_EQ(page->readPreferenceValue(rows[2]), Value(5));
    EXPECT_FALSE(platform::PropertyList::readFile(domainFile)->contains("memory"));
}

// A pane's page: its override runs first and hands the value on to the framework.
class RecordingPage : public PSListController {
public:
    void setPreferenceValue(const Value& value, const std::shared_ptr<PSSpecifier>& specifier) override {
        written.push_back(specifier ? specifier->identifier() + "=" + value.description() : "nil");
        PSListController::setPreferenceValue(value, specifier);
    }
    std::vector<std::string> written;
};

TEST_F(PreferenceValueTest, ChangingARowsControlGoesThroughTheTargetsSetter) {
    writeList("Root", {
                          Value::dictionary({{"cell", "PSGroupCell"}, {"label", "Main"}, {"key", "group"}}),
                          switchRow("Enabled", "enabled", {{"defaults", std::string(domain)}}),
                          switchRow("Custom", "custom", {{"set", "storeCustom:specifier:"}}),
                      });
    auto page = pageShowing<RecordingPage>("Root");

    EXPECT_TRUE(platform::PreferencesInteraction::setValueOfRowWithKey(page, "enabled", false));
    EXPECT_EQ(page->written, std::vector<std::string>{"Enabled=false"});
    EXPECT_EQ(page->readPreferenceValue(page->specifierForID("Enabled")), Value(false));

    EXPECT_FALSE(platform::PreferencesInteraction::setValueOfRowWithKey(page, "group", true))
        << "group rows are not rows of the table";
    EXPECT_FALSE(platform::PreferencesInteraction::setValueOfRowWithKey(page, "missing", true));

    // A row naming its own setter sends that one; the page does not implement it, so nothing is stored.
    EXPECT_TRUE(platform::PreferencesInteraction::setValueOfRowWithKey(page, "custom", true));
    EXPECT_EQ(page->written.size(), 1u);
}

} // namespace
