#include <gtest/gtest.h>

#include <memory>

#include "tests/platform/preferences/PreferencesPageFixture.h"
#include "platform/corefoundation/CFPreferences.h"
#include "platform/foundation/RunLoop.h"
#include "platform/preferences/PSListItemsController.h"
#include "platform/preferences/PSTableCell.h"
#include "platform/preferences/PreferencesInteraction.h"
#include "platform/runtime/MethodBinding.h"
#include "platform/uikit/TouchScreen.h"
#include "platform/uikit/UIAlertAction.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UISegmentedControl.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UISwitch.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UIWindow.h"

namespace {

constexpr const char* domain = "dev.example.fixture";

// A page whose "get"/"set" selectors keep values in a member and whose action counts its runs.
class CustomValuePage : public PSListController {
public:
    Value kept = Value(7);
    int actions = 0;

    Value keptValue(const std::shared_ptr<PSSpecifier>&) { return kept; }
    void keepValue(const Value& value, const std::shared_ptr<PSSpecifier>&) { kept = value; }
    void reset(const std::shared_ptr<PSSpecifier>&) { ++actions; }
};

const Class customValuePageClass = platform::registerClass<CustomValuePage, PSListController>(
    "PFCustomValuePage", {
                             {"keptValue:", platform::bind<&CustomValuePage::keptValue>()},
                             {"keepValue:specifier:", platform::bind<&CustomValuePage::keepValue>()},
                             {"reset:", platform::bind<&CustomValuePage::reset>()},
                         });

Value stored(const char* key) {
    return CFPreferencesCopyAppValue(key, domain);
}

Value row(std::initializer_list<std::pair<const std::string, Value>> properties) {
    return Value::dictionary(properties);
}

class CellControls : public PreferencesPageFixture {
protected:
    template <class T = PSListController> std::shared_ptr<T> show(std::string_view name) {
        auto page = pageShowing<T>(name);
        navigation = UINavigationController::initWithRootViewController(page);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        platform::RunLoop::main().runUntilIdle();
        // At rest below the bars, as a list at its top is shown.
        page->table()->setContentOffset({0, -page->table()->adjustedContentInset().top});
        window->layoutIfNeeded();
        return page;
    }
    std::shared_ptr<PSTableCell> cellOf(const std::shared_ptr<PSListController>& page, std::string_view label) {
        auto specifier = platform::PreferencesInteraction::rowWithLabel(page, label);
        return std::dynamic_pointer_cast<PSTableCell>(
            page->table()->cellForRowAtIndexPath(page->indexPathForSpecifier(specifier)));
    }
    CGPoint centreOnScreen(const std::shared_ptr<UIView>& view) {
        window->layoutIfNeeded();
        return view->convertPoint({CGRectGetMidX(view->bounds()), CGRectGetMidY(view->bounds())}, nullptr);
    }
    void TearDown() override {
        window->setRootViewController(nullptr);
        platform::RunLoop::main().runUntilIdle();
        PreferencesPageFixture::TearDown();
    }

    std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>();
    std::shared_ptr<UINavigationController> navigation;
};

} // namespace

TEST_F(CellControls, EachValueRowHoldsItsControlShowingTheStoredValue) {
    writeList("Rows", {row({{"cell", "PSSwitchCell"}, {"label", "On"}, {"key", "on"}, {"defaults", domain}, {"default", true}}),
                       row({{"cell", "PSSwitchCell"}, {"label", "Inverse"}, {"key", "inverse"}, {"defaults", domain},
                            {"default", true}, {"negate", true}}),
                       row({{"cell", "PSSliderCell"}, {"label", "Level"}, {"key", "level"}, {"defaults", domain},
                            {"min", 10}, {"max", 20}, {"default", 15}, {"showValue", true}}),
                       row({{"cell", "PSSegmentCell"}, {"label", "Mode"}, {"key", "mode"}, {"defaults", domain},
                            {"default", 2}, {"validValues", Value::array({Value(1), Value(2)})},
                            {"validTitles", Value::array({Value("One"), Value("Two")})}}),
                       row({{"cell", "PSSecureEditTextCell"}, {"label", "Code"}, {"key", "code"}, {"defaults", domain},
                            {"default", "1234"}}),
                       row({{"cell", "PSTitleValueCell"}, {"label", "Version"}, {"default", "1.2"}})});
    auto page = show("Rows");
    auto on = std::dynamic_pointer_cast<UISwitch>(cellOf(page, "On")->control());
    ASSERT_TRUE(on);
    EXPECT_TRUE(on->isOn());
    EXPECT_FALSE(std::dynamic_pointer_cast<UISwitch>(cellOf(page, "Inverse")->control())->isOn());
    auto level = cellOf(page, "Level");
    auto slider = std::dynamic_pointer_cast<UISlider>(level->control());
    ASSERT_TRUE(slider);
    EXPECT_EQ(slider->minimumValue(), 10);
    EXPECT_EQ(slider->value(), 15);
    EXPECT_EQ(level->valueText(), "15");
    auto mode = std::dynamic_pointer_cast<UISegmentedControl>(cellOf(page, "Mode")->control());
    ASSERT_TRUE(mode);
    EXPECT_EQ(mode->selectedSegmentIndex(), 1);
    auto code = cellOf(page, "Code");
    EXPECT_TRUE(std::dynamic_pointer_cast<UITextField>(code->control())->isSecureTextEntry());
    EXPECT_EQ(code->valueText(), "\u2022\u2022\u2022\u2022");
    EXPECT_EQ(cellOf(page, "Version")->valueText(), "1.2");
    EXPECT_EQ(cellOf(page, "Version")->control(), nullptr);

    // The controls sit inside their rows on screen.
    CGRect row = cellOf(page, "On")->convertRect(cellOf(page, "On")->bounds(), nullptr);
    EXPECT_TRUE(CGRectContainsPoint(row, centreOnScreen(on)));
}

TEST_F(CellControls, TouchesOnControlsStoreThroughTheRowsSetterAndDisabledRowsTakeNone) {
    // Plain rows first: the touched ones lie further down the card.
    writeList("Rows", {row({{"cell", "PSTitleValueCell"}, {"label", "Top"}}),
                       row({{"cell", "PSTitleValueCell"}, {"label", "Second"}}),
                       row({{"cell", "PSSwitchCell"}, {"label", "Inverse"}, {"key", "inverse"}, {"defaults", domain},
                            {"negate", true}}),
                       row({{"cell", "PSSwitchCell"}, {"label", "Locked"}, {"key", "locked"}, {"defaults", domain},
                            {"enabled", false}}),
                       row({{"cell", "PSSwitchCell"}, {"label", "Custom"}, {"set", "keepValue:specifier:"},
                            {"get", "keptValue:"}})});
    auto page = show<CustomValuePage>("Rows");
    EXPECT_TRUE(std::dynamic_pointer_cast<UISwitch>(cellOf(page, "Inverse")->control())->isOn());
    auto hit = platform::TouchScreen::tap(*window, centreOnScreen(cellOf(page, "Inverse")->control()));
    EXPECT_EQ(hit, cellOf(page, "Inverse")->control());
    EXPECT_EQ(stored("inverse"), Value(true)) << "switched off, a negated row stores true: " << stored("inverse").description();

    auto locked = cellOf(page, "Locked");
    EXPECT_FALSE(locked->isCellEnabled());
    platform::TouchScreen::tap(*window, centreOnScreen(locked->control()));
    EXPECT_TRUE(stored("locked").isNull());
    EXPECT_FALSE(locked->_changeControlValue(Value(true))) << "set cannot move a disabled control either";

    EXPECT_TRUE(std::dynamic_pointer_cast<UISwitch>(cellOf(page, "Custom")->control())->isOn())
        << "the getter's 7 reads as on";
    platform::TouchScreen::tap(*window, centreOnScreen(cellOf(page, "Custom")->control()));
    EXPECT_EQ(page->kept, Value(false)) << "stored through the row's own setter";
}

TEST_F(CellControls, AListPageChecksTheStoredChoiceAndStoresATappedOne) {
    writeList("Rows", {row({{"cell", "PSLinkListCell"}, {"label", "Style"}, {"key", "style"}, {"defaults", domain},
                            {"default", 0}, {"detail", "PSListItemsController"},
                            {"validValues", Value::array({Value(0), Value(1)})},
                            {"validTitles", Value::array({Value("Classic"), Value("Flat")})}})});
    auto page = show("Rows");
    EXPECT_EQ(cellOf(page, "Style")->valueText(), "Classic");
    platform::PreferencesInteraction::tapRowWithLabel(page, "Style");
    platform::RunLoop::main().runUntilIdle();
    auto list = std::dynamic_pointer_cast<PSListItemsController>(navigation->topViewController());
    ASSERT_TRUE(list);
    window->layoutIfNeeded();
    EXPECT_EQ(cellOf(list, "Classic")->accessoryType(), UITableViewCellAccessoryCheckmark);
    EXPECT_EQ(cellOf(list, "Flat")->accessoryType(), UITableViewCellAccessoryNone);

    platform::PreferencesInteraction::tapRowWithLabel(list, "Flat");
    EXPECT_EQ(stored("style"), Value(1));
    EXPECT_EQ(cellOf(list, "Flat")->accessoryType(), UITableViewCellAccessoryCheckmark);
    EXPECT_EQ(cellOf(list, "Classic")->accessoryType(), UITableViewCellAccessoryNone);
    navigation->popViewControllerAnimated(false);
    platform::RunLoop::main().runUntilIdle();
    EXPECT_EQ(cellOf(page, "Style")->valueText(), "Flat") << "the page underneath shows the new title";
}

TEST_F(CellControls, AConfirmedButtonRunsItsActionOnlyAfterOKAndFootersTakeTheirAlignment) {
    writeList("Rows", {row({{"cell", "PSGroupCell"}, {"footerText", "Centred"}, {"footerAlignment", 1}}),
                       row({{"cell", "PSButtonCell"}, {"label", "Reset"}, {"action", "reset:"},
                            {"confirmation", Value::dictionary({{"title", "Reset?"}, {"prompt", "Really"},
                                                                {"okTitle", "Reset"}, {"cancelTitle", "Keep"},
                                                                {"isDestructive", true}})}})});
    auto page = show<CustomValuePage>("Rows");
    EXPECT_EQ(page->table()->_groupedSections().at(0).footerAlignment, NSTextAlignmentCenter);
    platform::PreferencesInteraction::tapRowWithLabel(page, "Reset");
    platform::RunLoop::main().runUntilIdle();
    auto alert = std::dynamic_pointer_cast<UIAlertController>(page->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Reset?");
    EXPECT_EQ(page->actions, 0) << "nothing runs before the answer";
    ASSERT_EQ(alert->actions().size(), 2u);
    EXPECT_EQ(alert->actions()[0]->style(), UIAlertActionStyle::Destructive);
    EXPECT_TRUE(platform::tapAlertAction(alert, "Keep"));
    platform::RunLoop::main().runUntilIdle();
    EXPECT_EQ(page->actions, 0) << "cancel runs nothing";

    platform::PreferencesInteraction::tapRowWithLabel(page, "Reset");
    platform::RunLoop::main().runUntilIdle();
    alert = std::dynamic_pointer_cast<UIAlertController>(page->presentedViewController());
    ASSERT_TRUE(alert);
    platform::tapAlertAction(alert, "Reset");
    platform::RunLoop::main().runUntilIdle();
    EXPECT_EQ(page->actions, 1);
}
