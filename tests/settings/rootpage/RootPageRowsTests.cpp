#include <gtest/gtest.h>

#include <chrono>

#include "platform/preferences/PSTableCell.h"
#include "platform/runtime/ObjCRuntime.h"
#include "tests/settings/rootpage/RootPageFixture.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UINavigationItem.h"

namespace {

// The names (or cell types) of the rows after the property-list rows, as a readable list.
std::vector<std::string> creditsArea(const std::shared_ptr<KVCorvaleSettingsController>& page,
                                     std::size_t listRows) {
    std::vector<std::string> shown;
    const auto& rows = *page->specifiers();
    for (std::size_t index = 1 + listRows; index < rows.size(); ++index) {
        const auto& row = rows[index];
        if (row->cellType() == PSGroupCell)
            shown.push_back("group:" + row->name());
        else if (row->cellType() == PSSpinnerCell)
            shown.push_back("spinner");
        else
            shown.push_back(row->name().empty() ? row->propertyForKey("name").stringValue() : row->name());
    }
    return shown;
}

using Rows = std::vector<std::string>;

NSCalendar::Date midYear(int year) {
    using namespace std::chrono;
    return sys_days{std::chrono::year{year} / 6 / 15};
}

} // namespace

// Rows need no view: these pages are never shown, so no credits manager runs and only the test
// delivers credits.
class RootPageRows : public RootPageFixture {
protected:
    std::shared_ptr<KVCorvaleSettingsController> unshownPage() {
        return openPage<KVCorvaleSettingsController>();
    }
};

TEST_F(RootPageRows, TheCreditsAreaPassesThroughItsFiveStates) {
    writeList("Tweak", {Value::dictionary({{"cell", "PSGroupCell"}, {"label", "Options"}})});
    const auto page = unshownPage();
    // The first group is always the inserted untitled one, even before a list that starts with one.
    EXPECT_EQ((*page->specifiers())[0]->cellType(), PSGroupCell);
    EXPECT_EQ((*page->specifiers())[0]->name(), "");
    EXPECT_EQ(page->title(), "Tweak");
    EXPECT_EQ(creditsArea(page, 1), (Rows{"group:Credits", "spinner"}));
    page->creditsManagerDidLoadCreditsAndLinks(nullptr, Value(), Value());
    settle();
    EXPECT_EQ(creditsArea(page, 1), (Rows{"group:Credits", "spinner"}));

    page->creditsManagerDidFailToLoadWithError(nullptr, nullptr);
    settle();
    EXPECT_EQ(creditsArea(page, 1), (Rows{"group:Credits", "Couldn't load credits"}));
    EXPECT_EQ(page->specifiers()->back()->cellType(), PSStaticTextCell);

    const Value person = Value::dictionary({{"name", "Ada"}});
    page->creditsManagerDidLoadCreditsAndLinks(nullptr, Value::array({person}), Value());
    settle();
    EXPECT_EQ(creditsArea(page, 1), (Rows{"group:Credits", "Ada"}));

    const Value link = Value::dictionary({{"title", "Source"}, {"url", "https://example.org/src"}});
    page->creditsManagerDidLoadCreditsAndLinks(nullptr, Value::array({person}), Value::array({link}));
    settle();
    EXPECT_EQ(creditsArea(page, 1), (Rows{"group:Credits", "Ada", "group:", "Source"}));

    page->creditsManagerDidLoadCreditsAndLinks(nullptr, Value(), Value::array({link}));
    settle();
    EXPECT_EQ(creditsArea(page, 1), (Rows{"group:", "Source"}));

    // The failure flag stays: a later empty delivery shows the failure again.
    page->creditsManagerDidLoadCreditsAndLinks(nullptr, Value(), Value());
    settle();
    EXPECT_EQ(creditsArea(page, 1), (Rows{"group:Credits", "Couldn't load credits"}));
}

TEST_F(RootPageRows, FailuresAfterDataChangeNothingVisible) {
    writeList("Tweak", {});
    const auto page = unshownPage();
    const Value link = Value::dictionary({{"title", "Source"}, {"url", "https://example.org/src"}});
    page->creditsManagerDidLoadCreditsAndLinks(nullptr, Value::array({}), Value::array({link}));
    page->creditsManagerDidFailToLoadWithError(nullptr, nullptr);
    settle();
    EXPECT_FALSE(page->_errorOccurredFetchingCredits());
    EXPECT_EQ(creditsArea(page, 0), (Rows{"group:Credits", "group:", "Source"}));

    // With only links known the flag is set, but the links stay.
    page->creditsManagerDidLoadCreditsAndLinks(nullptr, Value(), Value::array({link}));
    page->creditsManagerDidFailToLoadWithError(nullptr, nullptr);
    settle();
    EXPECT_TRUE(page->_errorOccurredFetchingCredits());
    EXPECT_EQ(creditsArea(page, 0), (Rows{"group:", "Source"}));
}

TEST_F(RootPageRows, CreditRowsCarryThePersonAndTheCellsKeysAndOddEntriesAreSkipped) {
    writeList("Tweak", {});
    const auto page = unshownPage();
    const Value person = Value::dictionary({{"name", "Ada"},
                                            {"position", "design"},
                                            {"height", 10},
                                            {"cellClass", "PSTableCell"},
                                            {"bundlePath", "/x"}});
    const Value links =
        Value::array({Value::dictionary({{"title", 7}, {"url", "https://example.org/a"}}),
                      Value::dictionary({{"title", "No address"}}), Value("not an object"),
                      Value::dictionary({{"title", "Kept"}, {"url", "https://example.org/b"}})});
    page->creditsManagerDidLoadCreditsAndLinks(nullptr, Value::array({Value(42), person}), links);
    settle();
    EXPECT_EQ(creditsArea(page, 0), (Rows{"group:Credits", "Ada", "group:", "Kept"}));

    const auto row = (*page->specifiers())[2];
    EXPECT_EQ(row->propertyForKey("position").stringValue(), "design");
    EXPECT_EQ(row->propertyForKey("height").integerValue(), 84);
    EXPECT_EQ(row->propertyForKey("bundlePath").stringValue(), std::string(bundlePath));
    EXPECT_EQ(row->classPropertyForKey("cellClass"), objc_getClass("KVCorvaleCreditCell"));
    EXPECT_EQ(page->tableViewHeightForRowAtIndexPath(page->table(), page->indexPathForSpecifier(row)), 84);

    const auto linkRow = page->specifiers()->back();
    EXPECT_EQ(linkRow->cellType(), PSButtonCell);
    EXPECT_EQ(linkRow->action, "URLSpecifierPerformedAction:");
    platform::DeviceEventLog::shared().take();
    page->tableViewDidSelectRowAtIndexPath(page->table(), page->indexPathForSpecifier(linkRow));
    const auto events = platform::DeviceEventLog::shared().take();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]["openURL"].stringValue(), "https://example.org/b");
}

TEST_F(RootPageRows, BrandingDefaultsAndOverrides) {
    writeList("Tweak", {});
    auto page = showRootPage();
    EXPECT_EQ(page->_companyName(), "Halcyra");
    EXPECT_EQ(page->_companyLabel()->text(), "Halcyra");
    ASSERT_NE(page->navigationItem()->rightBarButtonItem(), nullptr);
    EXPECT_EQ(page->navigationItem()->rightBarButtonItem()->action(), "openHalcyraWebsite:");
    page->_setCurrentDate(midYear(2026));
    EXPECT_EQ(page->copyrightText(), "\u00A9 2016-2026 Halcyra");

    platform::DeviceEventLog::shared().take();
    page->navigationItem()->rightBarButtonItem()->_sendAction();
    auto events = platform::DeviceEventLog::shared().take();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]["openURL"].stringValue(), "https://halcyra.example/?src=twkprefsnav");

    // Only "companyName": the copyright follows it.
    writeList("Tweak", {}, Value::dictionary({{"companyName", "Orlan"}}));
    page = showRootPage();
    page->_setCurrentDate(midYear(2026));
    EXPECT_EQ(page->copyrightText(), "\u00A9 2016-2026 Orlan");

    // Only the copyright name: the header keeps the default; the year alone when not later.
    writeList("Tweak", {},
              Value::dictionary({{"companyCopyrightName", "Orlan Ltd"},
                                 {"firstCopyrightYear", 2026},
                                 {"showsHalcyraBranding", false}}));
    page = showRootPage();
    page->_setCurrentDate(midYear(2026));
    EXPECT_EQ(page->_companyLabel()->text(), "Halcyra");
    EXPECT_EQ(page->copyrightText(), "\u00A9 2026 Orlan Ltd");
    page->_setCurrentDate(midYear(2024));
    EXPECT_EQ(page->copyrightYearText(), "2024");
    EXPECT_EQ(page->navigationItem()->rightBarButtonItem(), nullptr);
    EXPECT_NE(page->_companyLabel(), nullptr);
}

TEST_F(RootPageRows, OnlyTheLastSectionsFooterIsTheCopyrightLine) {
    writeList("Tweak", {Value::dictionary({{"cell", "PSGroupCell"}, {"footerText", "Own footer"}})});
    const auto page = unshownPage();
    page->_setCurrentDate(midYear(2026));
    const auto& tableView = page->table();
    const long sections = page->numberOfSectionsInTableView(tableView);
    ASSERT_EQ(sections, 3);
    EXPECT_EQ(page->tableViewTitleForFooterInSection(tableView, 1), "Own footer");
    EXPECT_EQ(page->tableViewTitleForFooterInSection(tableView, sections - 1), "\u00A9 2016-2026 Halcyra");
}
