#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/platform/preferences/PreferencesPageFixture.h"
#include "platform/preferences/PSListController.h"
#include "platform/preferences/PSSpecifier.h"
#include "platform/preferences/PSTableCell.h"

namespace {

class LoadingDetailPage : public PSListController {};
const Class loadingDetailClass =
    platform::registerClass<LoadingDetailPage, PSListController>("PFLoadingDetailPage");

using SpecifierLoadingTest = PreferencesPageFixture;

const std::vector<std::string> knownCellNames = {
    "PSGroupCell",     "PSSwitchCell",       "PSLinkCell",       "PSLinkListCell",       "PSButtonCell",
    "PSEditTextCell",  "PSSliderCell",       "PSSegmentCell",    "PSStaticTextCell",     "PSSpinnerCell",
    "PSDefaultCell",   "PSListItemCell",     "PSTitleValueCell", "PSSecureEditTextCell", "PSGiantCell",
    "PSGiantIconCell", "PSEditTextViewCell",
};

TEST(PSTableCellTest, CellTypeNamesRoundTripAndUnknownNamesStayDistinct) {
    std::vector<PSCellType> seen;
    for (const auto& name : knownCellNames) {
        PSCellType cellType = PSTableCell::cellTypeFromString(name);
        EXPECT_NE(cellType, PSUnknownCell) << name;
        EXPECT_EQ(PSTableCell::stringFromCellType(cellType), name);
        EXPECT_EQ(std::count(seen.begin(), seen.end(), cellType), 0) << name << " shares a value";
        seen.push_back(cellType);
    }
    for (const char* unknown : {"PSSwitchcell", "", "PSSwitchCell ", "UITableViewCell", "PSUnknownCell"})
        EXPECT_EQ(PSTableCell::cellTypeFromString(unknown), PSUnknownCell) << unknown;
    EXPECT_EQ(PSTableCell::stringFromCellType(PSUnknownCell), "");
    EXPECT_EQ(PSTableCell::stringFromCellType(static_cast<PSCellType>(9999)), "");
}

TEST_F(SpecifierLoadingTest, EveryRowBecomesASpecifierKeepingAllItsKeys) {
    Value::Array rows;
    for (const auto& name : knownCellNames)
        rows.push_back(Value::dictionary({{"cell", name}, {"label", name + " label"}}));
    rows.push_back(Value::dictionary({
        {"cell", "PSSwitchCell"},
        {"label", "Enabled"},
        {"id", "enabledSwitch"},
        {"key", "enabled"},
        {"defaults", "dev.example.fixture"},
        {"default", true},
        {"PostNotification", "dev.example.fixture/changed"},
        {"height", 60},
        {"OSRequirement", "major >= 13"},
        {"customKey", Value::array({1, "two"})},
    }));
    rows.push_back(Value::dictionary({{"cell", "PSLinkCell"},
                                      {"label", "More"},
                                      {"detail", "PFLoadingDetailPage"},
                                      {"isController", true},
                                      {"Plist", "More"}}));
    rows.push_back(Value::dictionary({{"cell", "PSLinkListCell"},
                                      {"label", "Style"},
                                      {"validValues", Value::array({0, 1})},
                                      {"validTitles", Value::array({"Light", "Dark"})}}));
    rows.push_back(Value::dictionary({{"cell", "PSButtonCell"}, {"label", "Reset"}, {"action", "reset:"}}));
    rows.push_back(Value::dictionary({{"cell", "PSFancyCell"}, {"label", "Typo"}}));
    rows.push_back(Value::dictionary({{"cell", 7}, {"label", "Number"}}));
    rows.push_back(Value::dictionary({{"label", "No cell"}}));
    rows.push_back("not a row");
    writeList("Root", rows, Value::dictionary({{"title", "Fixture"}, {"headerColour", "0.1:0.2:0.3"}}));

    auto page = std::make_shared<PSListController>();
    auto specifiers = page->loadSpecifiersFromPlistName("Root", page, bundle);
    ASSERT_NE(specifiers, nullptr);
    ASSERT_EQ(specifiers->size(), knownCellNames.size() + 7) << "the string item is skipped";
    EXPECT_EQ(page->title(), "Fixture");

    for (std::size_t index = 0; index < knownCellNames.size(); ++index) {
        const auto& specifier = (*specifiers)[index];
        EXPECT_EQ(specifier->cellType(), PSTableCell::cellTypeFromString(knownCellNames[index]));
        EXPECT_EQ(specifier->name(), knownCellNames[index] + " label");
        EXPECT_EQ(specifier->identifier(), specifier->name()) << "the label is the identifier without id";
        EXPECT_EQ(specifier->target(), page);
    }

    auto enabled = (*specifiers)[knownCellNames.size()];
    EXPECT_EQ(enabled->identifier(), "enabledSwitch");
    EXPECT_EQ(enabled->name(), "Enabled");
    EXPECT_EQ(enabled->properties().count(), 10u);
    EXPECT_EQ(enabled->propertyForKey("customKey"), Value::array({1, "two"}));
    EXPECT_EQ(enabled->propertyForKey("OSRequirement").asString(), "major >= 13");
    EXPECT_EQ(enabled->propertyForKey("height").integerValue(), 60);
    EXPECT_EQ(enabled->setter, "setPreferenceValue:specifier:");
    EXPECT_EQ(enabled->getter, "readPreferenceValue:");
    EXPECT_TRUE(enabled->action.empty());

    auto more = (*specifiers)[knownCellNames.size() + 1];
    EXPECT_EQ(more->detailControllerClass, loadingDetailClass);
    EXPECT_TRUE(more->propertyForKey("isController").boolValue());

    auto style = (*specifiers)[knownCellNames.size() + 2];
    EXPECT_EQ(style->values(), Value::array({0, 1}));
    EXPECT_EQ(style->titles(), Value::array({"Light", "Dark"}));

    EXPECT_EQ((*specifiers)[knownCellNames.size() + 3]->action, "reset:");
    EXPECT_EQ((*specifiers)[knownCellNames.size() + 4]->cellType(), PSUnknownCell);
    EXPECT_EQ((*specifiers)[knownCellNames.size() + 4]->propertyForKey("cell").asString(), "PSFancyCell");
    EXPECT_EQ((*specifiers)[knownCellNames.size() + 5]->cellType(), PSUnknownCell);
    EXPECT_EQ((*specifiers)[knownCellNames.size() + 6]->cellType(), PSDefaultCell);

    // The rows hold their page weakly: they do not keep it alive.
    std::weak_ptr<PSListController> weakPage = page;
    page.reset();
    EXPECT_TRUE(weakPage.expired());
    EXPECT_EQ(enabled->target(), nullptr);
}

TEST_F(SpecifierLoadingTest, ListsThatCannotBeReadGiveNoListAndNeverThrow) {
    auto page = std::make_shared<PSListController>();
    page->setTitle("Unchanged");
    EXPECT_EQ(page->loadSpecifiersFromPlistName("Missing", page, bundle), nullptr);
    EXPECT_EQ(page->loadSpecifiersFromPlistName("Root", page, nullptr), nullptr);

    root.writeFile(std::string(bundlePath) + "/Broken.plist", "<?xml version=\"1.0\"?><plist><dict><key>");
    EXPECT_EQ(page->loadSpecifiersFromPlistName("Broken", page, bundle), nullptr);
    writeValue(std::string(bundlePath) + "/Array.plist", Value::array({Value::dictionary({{"label", "A"}})}));
    EXPECT_EQ(page->loadSpecifiersFromPlistName("Array", page, bundle), nullptr);
    EXPECT_EQ(page->title(), "Unchanged");

    // A list without rows is an empty list, not a missing one.
    writeValue(std::string(bundlePath) + "/Empty.plist", Value::dictionary({{"title", 3}}));
    auto empty = page->loadSpecifiersFromPlistName("Empty", page, bundle);
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->empty());
    EXPECT_EQ(page->title(), "Unchanged") << "a title that is not a string is ignored";

    // A page with no list shows nothing.
    EXPECT_EQ(page->specifiers(), nullptr);
    EXPECT_EQ(page->table()->numberOfSections(), 0);
}

TEST(PSSpecifierTest, AKeyHoldsEitherAPlainOrAnObjectProperty) {
    auto specifier =
        PSSpecifier::preferenceSpecifierNamed("Row", nullptr, PSSpecifier::defaultSetter,
                                              PSSpecifier::defaultGetter, nullptr, PSSwitchCell, nullptr);
    Class cellClass = objc_getClass("PSTableCell");
    ASSERT_NE(cellClass, nullptr);

    specifier->setProperty("SomeCell", "cellClass");
    specifier->setObjectProperty(cellClass, "cellClass");
    EXPECT_TRUE(specifier->propertyForKey("cellClass").isNull());
    EXPECT_EQ(specifier->classPropertyForKey("cellClass"), cellClass);
    EXPECT_EQ(specifier->objectPropertyForKey("cellClass"), nullptr);

    specifier->setProperty("OtherCell", "cellClass");
    EXPECT_EQ(specifier->classPropertyForKey("cellClass"), nullptr);
    EXPECT_EQ(specifier->propertyForKey("cellClass").asString(), "OtherCell");

    auto owner = std::make_shared<PSListController>();
    specifier->setObjectProperty(owner, "owner");
    EXPECT_EQ(specifier->objectPropertyForKey("owner"), owner);
    specifier->setObjectProperty(id(), "owner");
    EXPECT_EQ(specifier->objectPropertyForKey("owner"), nullptr);

    // Callers change the properties in place.
    specifier->properties().set("key", "enabled");
    EXPECT_EQ(specifier->propertyForKey("key").asString(), "enabled");
    specifier->setProperty(nullptr, "key");
    EXPECT_FALSE(specifier->properties().contains("key"));

    auto group = PSSpecifier::groupSpecifierWithName("Section");
    EXPECT_EQ(group->cellType(), PSGroupCell);
    EXPECT_EQ(group->name(), "Section");
    EXPECT_EQ(PSSpecifier::emptyGroupSpecifier()->name(), "");
    EXPECT_EQ(PSSpecifier::emptyGroupSpecifier()->cellType(), PSGroupCell);
}

} // namespace
