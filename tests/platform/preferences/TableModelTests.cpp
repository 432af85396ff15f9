#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "tests/platform/preferences/PreferencesPageFixture.h"
#include "platform/preferences/PSListController.h"
#include "platform/preferences/PSTableCell.h"
#include "platform/uikit/UITableView.h"

namespace {

using TableModelTest = PreferencesPageFixture;

Value row(std::string cell, std::string label, Value::Dictionary extra = {}) {
    Value value(std::move(extra));
    value.set("cell", std::move(cell));
    value.set("label", std::move(label));
    return value;
}

std::string labelAt(const std::shared_ptr<PSListController>& page, long section, long row) {
    auto specifier = page->specifierAtIndexPath(NSIndexPath::indexPathForRow(row, section));
    return specifier ? specifier->name() : "<none>";
}

TEST_F(TableModelTest, GroupRowsOpenSectionsWithHeadersAndFooters) {
    writeList("Root", {
                          row("PSSwitchCell", "Loose"),
                          row("PSGroupCell", "General", {{"footerText", "Applies at once."}}),
                          row("PSSwitchCell", "Enabled"),
                          row("PSLinkCell", "More", {{"id", "more"}}),
                          row("PSGroupCell", ""),
                          row("PSGroupCell", "About", {{"footerText", 5}}),
                          row("PSStaticTextCell", "Version"),
                      });
    auto page = pageShowing("Root");
    auto table = page->table();

    ASSERT_EQ(table->numberOfSections(), 4);
    EXPECT_EQ(table->numberOfRowsInSection(0), 1);
    EXPECT_EQ(table->numberOfRowsInSection(1), 2);
    EXPECT_EQ(table->numberOfRowsInSection(2), 0);
    EXPECT_EQ(table->numberOfRowsInSection(3), 1);
    EXPECT_EQ(table->numberOfRowsInSection(4), 0);

    EXPECT_EQ(labelAt(page, 0, 0), "Loose");
    EXPECT_EQ(labelAt(page, 1, 0), "Enabled");
    EXPECT_EQ(labelAt(page, 1, 1), "More");
    EXPECT_EQ(labelAt(page, 3, 0), "Version");
    EXPECT_EQ(labelAt(page, 1, 2), "<none>");
    EXPECT_EQ(labelAt(page, -1, 0), "<none>");

    EXPECT_EQ(page->tableViewTitleForHeaderInSection(table, 0), std::nullopt);
    EXPECT_EQ(page->tableViewTitleForHeaderInSection(table, 1), "General");
    EXPECT_EQ(page->tableViewTitleForHeaderInSection(table, 2), std::nullopt);
    EXPECT_EQ(page->tableViewTitleForFooterInSection(table, 0), std::nullopt);
    EXPECT_EQ(page->tableViewTitleForFooterInSection(table, 1), "Applies at once.");
    EXPECT_EQ(page->tableViewTitleForFooterInSection(table, 3), std::nullopt) << "a footer must be a string";

    auto more = page->specifierForID("more");
    ASSERT_NE(more, nullptr);
    auto indexPath = page->indexPathForSpecifier(more);
    ASSERT_NE(indexPath, nullptr);
    EXPECT_EQ(indexPath->section(), 1);
    EXPECT_EQ(indexPath->row(), 1);
    EXPECT_EQ(page->indexPathForSpecifier(page->specifierForID("General")), nullptr) << "groups are no rows";
    EXPECT_EQ(page->specifierForID("nothing"), nullptr);

    // A changed list shows after reloadSpecifiers, not before.
    page->specifiers()->erase(page->specifiers()->begin());
    EXPECT_EQ(labelAt(page, 0, 0), "Loose");
    page->reloadSpecifiers();
    EXPECT_EQ(table->numberOfSections(), 3);
    EXPECT_EQ(labelAt(page, 0, 0), "Enabled");
}

// Counts how often each row's height is asked, and collapses rows marked "collapsed".
class CountingPage : public PSListController {
public:
    CGFloat tableViewHeightForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                             const std::shared_ptr<NSIndexPath>& indexPath) override {
        ++asked[{indexPath->section(), indexPath->row()}];
        auto specifier = specifierAtIndexPath(indexPath);
        if (specifier && specifier->propertyForKey("collapsed").boolValue())
            return 0.01;
        return PSListController::tableViewHeightForRowAtIndexPath(tableView, indexPath);
    }
    void tableViewWillDisplayCellForRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                                   const std::shared_ptr<UITableViewCell>& cell,
                                                   const std::shared_ptr<NSIndexPath>&) override {
        ++displayed;
        cell->setClipsToBounds(true);
    }

    std::map<std::pair<long, long>, int> asked;
    int displayed = 0;
};

TEST_F(TableModelTest, UpdateBlocksAskEveryRowHeightAgainThroughTheOverride) {
    writeList("Root", {
                          row("PSSwitchCell", "Enabled", {{"key", "enabled"}}),
                          row("PSSwitchCell", "Dependent", {{"collapsed", true}}),
                          row("PSGroupCell", "Sized"),
                          row("PSStaticTextCell", "Tall", {{"height", 120.5}}),
                          row("PSStaticTextCell", "Odd height", {{"height", "tall"}}),
                      });
    auto page = pageShowing<CountingPage>("Root");
    auto table = page->table();

    EXPECT_EQ(table->heightForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0)),
              PSListController::defaultRowHeight);
    EXPECT_DOUBLE_EQ(table->heightForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0)), 0.01);
    EXPECT_DOUBLE_EQ(table->heightForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 1)), 120.5);
    EXPECT_EQ(table->heightForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 1)),
              PSListController::defaultRowHeight);
    EXPECT_EQ(table->heightForRowAtIndexPath(NSIndexPath::indexPathForRow(5, 1)), 0);
    std::map<std::pair<long, long>, int> once{{{0, 0}, 1}, {{0, 1}, 1}, {{1, 0}, 1}, {{1, 1}, 1}};
    EXPECT_EQ(page->asked, once) << "reading heights uses what the table last asked";
    EXPECT_EQ(table->animatedUpdateCount(), 0);

    auto dependent = page->specifierAtIndexPath(NSIndexPath::indexPathForRow(1, 0));
    auto shownCell = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0));
    dependent->setProperty(false, "collapsed");
    EXPECT_DOUBLE_EQ(table->heightForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0)), 0.01);

    table->beginUpdates();
    table->beginUpdates();
    table->endUpdates();
    EXPECT_EQ(table->animatedUpdateCount(), 0) << "only the outermost block ends the update";
    table->endUpdates();
    std::map<std::pair<long, long>, int> twice{{{0, 0}, 2}, {{0, 1}, 2}, {{1, 0}, 2}, {{1, 1}, 2}};
    EXPECT_EQ(page->asked, twice);
    EXPECT_EQ(table->animatedUpdateCount(), 1);
    EXPECT_EQ(table->heightForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0)),
              PSListController::defaultRowHeight);
    EXPECT_EQ(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0)), shownCell)
        << "an update keeps the cells of rows that stay";
    EXPECT_EQ(page->displayed, 1);

    table->endUpdates();
    EXPECT_EQ(table->animatedUpdateCount(), 1) << "an unbalanced end does nothing";
}

TEST_F(TableModelTest, CellsAreMadeOncePerRowUntilTheCacheIsCleared) {
    writeList("Root", {
                          row("PSSwitchCell", "Enabled"),
                          row("PSLinkCell", "More"),
                      });
    auto page = pageShowing<CountingPage>("Root");
    auto table = page->table();
    auto first = NSIndexPath::indexPathForRow(0, 0);

    auto cell = std::dynamic_pointer_cast<PSTableCell>(table->cellForRowAtIndexPath(first));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->specifier(), page->specifierAtIndexPath(first));
    EXPECT_EQ(cell->text(), "Enabled");
    EXPECT_EQ(cell->reuseIdentifier(), "PSSwitchCell");
    EXPECT_TRUE(cell->clipsToBounds()) << "the page saw the cell before it was shown";
    EXPECT_EQ(cell->superview(), table);
    EXPECT_EQ(table->cellForRowAtIndexPath(first), cell);
    EXPECT_EQ(page->displayed, 1) << "a shown cell is not displayed again";
    EXPECT_EQ(table->indexPathForCell(cell)->row(), 0);

    auto link = std::dynamic_pointer_cast<PSTableCell>(
        table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0)));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->accessoryType(), UITableViewCellAccessoryDisclosureIndicator);
    EXPECT_EQ(table->visibleCells().size(), 2u);

    // Reloading shows the page's cached cell again; clearing the cache makes a new one.
    page->reloadSpecifiers();
    EXPECT_EQ(cell->superview(), nullptr);
    EXPECT_EQ(table->cellForRowAtIndexPath(first), cell);
    EXPECT_EQ(page->displayed, 3);
    page->clearCache();
    page->reloadSpecifiers();
    auto fresh = table->cellForRowAtIndexPath(first);
    EXPECT_NE(fresh, cell);
    EXPECT_EQ(std::dynamic_pointer_cast<PSTableCell>(fresh)->specifier(), page->specifierAtIndexPath(first));
    EXPECT_EQ(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(2, 0)), nullptr);
}

// A custom cell as a pane would write one: it overrides the designated initialiser.
class BadgeCell : public PSTableCell {
public:
    std::shared_ptr<PSTableCell> initWithStyle(UITableViewCellStyle style, std::string reuseIdentifier,
                                               const std::shared_ptr<PSSpecifier>& specifier) override {
        auto cell = PSTableCell::initWithStyle(style, std::move(reuseIdentifier), specifier);
        badge = specifier ? specifier->propertyForKey("badge").asString() : "";
        ++initialised;
        return cell;
    }
    std::string badge;
    int initialised = 0;
};
const Class badgeCellClass = platform::registerClass<BadgeCell, PSTableCell>("PFBadgeCell");

class PlainCell : public UITableViewCell {};
const Class plainCellClass = platform::registerClass<PlainCell, UITableViewCell>("PFPlainCell");

TEST_F(TableModelTest, CellClassMakesTheRowsCellThroughTheRuntime) {
    writeList("Root", {
                          row("PSDefaultCell", "By name", {{"cellClass", "PFBadgeCell"}, {"badge", "new"}}),
                          row("PSDefaultCell", "By object", {{"badge", "hot"}}),
                          row("PSDefaultCell", "Unknown class", {{"cellClass", "PFNoSuchCell"}}),
                          row("PSDefaultCell", "Not a cell", {{"cellClass", "PSSpecifier"}}),
                          row("PSDefaultCell", "Plain", {{"cellClass", "PFPlainCell"}}),
                      });
    auto page = std::make_shared<PSListController>();
    auto specifiers = page->loadSpecifiersFromPlistName("Root", page, bundle);
    ASSERT_NE(specifiers, nullptr);
    (*specifiers)[1]->setObjectProperty(badgeCellClass, "cellClass");
    page->setSpecifiers(specifiers);
    auto table = page->table();

    for (long index : {0L, 1L}) {
        auto cell = std::dynamic_pointer_cast<BadgeCell>(
            table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(index, 0)));
        ASSERT_NE(cell, nullptr) << index;
        EXPECT_EQ(cell->getClass(), badgeCellClass);
        EXPECT_EQ(cell->initialised, 1);
        EXPECT_EQ(cell->specifier(), (*specifiers)[static_cast<std::size_t>(index)]);
        EXPECT_EQ(cell->reuseIdentifier(), "PFBadgeCell");
        EXPECT_EQ(cell->badge, index == 0 ? "new" : "hot");
    }
    for (long index : {2L, 3L}) {
        auto cell = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(index, 0));
        ASSERT_NE(std::dynamic_pointer_cast<PSTableCell>(cell), nullptr) << index;
        EXPECT_EQ(cell->getClass(), objc_getClass("PSTableCell"));
    }
    auto plain = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(4, 0));
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->getClass(), plainCellClass);
    EXPECT_EQ(plain->reuseIdentifier(), "PFPlainCell");
}

} // namespace
