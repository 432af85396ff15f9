#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/platform/preferences/PreferencesPageFixture.h"
#include "platform/preferences/PSListController.h"
#include "platform/preferences/PreferencesInteraction.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIWindow.h"

namespace {

using RowTapTest = PreferencesPageFixture;

// A root page whose actions record the rows they were sent with.
class ActionPage : public PSListController {
public:
    std::vector<std::shared_ptr<PSSpecifier>> received;
};

Class registerActionPage() {
    Class cls = platform::registerClass<ActionPage, PSListController>("PFActionPage");
    class_addMethod(cls, "buttonTapped:",
                    platform::methodImplementation<ActionPage>([](const std::shared_ptr<ActionPage>& self,
                                                                  const MessageArguments& arguments) {
                        self->received.push_back(platform::argument(arguments, 0).objectAs<PSSpecifier>());
                    }));
    return cls;
}
const Class actionPageClass = registerActionPage();

class DetailPage : public PSListController {
public:
    void viewDidLoad() override {
        PSListController::viewDidLoad();
        specifierWhenLoaded = specifier();
    }
    std::shared_ptr<PSSpecifier> specifierWhenLoaded;
};
const Class detailPageClass = platform::registerClass<DetailPage, PSListController>("PFDetailPage");

Value row(std::string cell, std::string label, Value::Dictionary extra = {}) {
    Value value(std::move(extra));
    value.set("cell", std::move(cell));
    value.set("label", std::move(label));
    return value;
}

TEST_F(RowTapTest, ButtonAndLinkRowsSendTheirActionWithTheRow) {
    writeList("Root", {
                          row("PSButtonCell", "Reset", {{"action", "buttonTapped:"}}),
                          row("PSLinkCell", "Website", {{"action", "buttonTapped:"}}),
                          row("PSSwitchCell", "Switch", {{"action", "buttonTapped:"}}),
                          row("PSButtonCell", "No action"),
                          row("PSButtonCell", "Unknown action", {{"action", "notImplemented:"}}),
                      });
    auto page = pageShowing<ActionPage>("Root");
    ASSERT_EQ(page->getClass(), actionPageClass);

    EXPECT_TRUE(platform::PreferencesInteraction::tapRowWithLabel(page, "Reset"));
    EXPECT_TRUE(platform::PreferencesInteraction::tapRowWithLabel(page, "Website"));
    EXPECT_TRUE(platform::PreferencesInteraction::tapRowWithLabel(page, "Switch"));
    EXPECT_TRUE(platform::PreferencesInteraction::tapRowWithLabel(page, "No action"));
    EXPECT_TRUE(platform::PreferencesInteraction::tapRowWithLabel(page, "Unknown action"));
    EXPECT_FALSE(platform::PreferencesInteraction::tapRowWithLabel(page, "Nowhere"));

    ASSERT_EQ(page->received.size(), 2u) << "only button and link rows act on a tap";
    EXPECT_EQ(page->received[0], page->specifierForID("Reset"));
    EXPECT_EQ(page->received[1], page->specifierForID("Website"));

    // The engine rewires an action by setting it on the row.
    page->specifierForID("No action")->action = "buttonTapped:";
    platform::PreferencesInteraction::tapRowWithLabel(page, "No action");
    ASSERT_EQ(page->received.size(), 3u);
    EXPECT_EQ(page->received[2], page->specifierForID("No action"));
}

TEST_F(RowTapTest, LinkRowsWithADetailClassPushThatPageOpenedByTheRow) {
    writeList("Root", {
                          row("PSLinkCell", "Advanced", {{"detail", "PFDetailPage"}, {"Plist", "Advanced"}}),
                          row("PSLinkCell", "Later", {{"detail", "PFLateDetailPage"}}),
                          row("PSButtonCell", "Button with detail", {{"detail", "PFDetailPage"}}),
                      });
    auto page = pageShowing<ActionPage>("Root");

    // Without a navigation controller there is nowhere to go.
    EXPECT_TRUE(platform::PreferencesInteraction::tapRowWithLabel(page, "Advanced"));

    auto navigation = UINavigationController::initWithRootViewController(page);
    auto window = std::make_shared<UIWindow>();
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    EXPECT_TRUE(platform::PreferencesInteraction::tapRowWithLabel(page, "Advanced"));
    ASSERT_EQ(navigation->viewControllers().size(), 2u);
    auto detail = std::dynamic_pointer_cast<DetailPage>(navigation->topViewController());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->getClass(), detailPageClass);
    EXPECT_EQ(detail->specifier(), page->specifierForID("Advanced"));
    EXPECT_EQ(detail->specifier()->target(), page) << "the opened page can reach the page that opened it";
    EXPECT_EQ(detail->bundle(), bundle);
    EXPECT_EQ(detail->title(), "Advanced");
    EXPECT_EQ(detail->specifierWhenLoaded, detail->specifier()) << "the row is set before the view loads";

    // A detail class registered after the list was read is found when the row is tapped.
    EXPECT_EQ(page->specifierForID("Later")->detailControllerClass, nullptr);
    class LateDetailPage : public PSListController {};
    platform::registerClass<LateDetailPage, PSListController>("PFLateDetailPage");
    navigation->popViewControllerAnimated(false);
    EXPECT_TRUE(platform::PreferencesInteraction::tapRowWithLabel(page, "Later"));
    ASSERT_EQ(navigation->viewControllers().size(), 2u);
    EXPECT_EQ(navigation->topViewController()->getClass(), objc_getClass("PFLateDetailPage"));

    navigation->popViewControllerAnimated(false);
    platform::PreferencesInteraction::tapRowWithLabel(page, "Button with detail");
    EXPECT_EQ(navigation->viewControllers().size(), 1u) << "only link rows open pages";
}

} // namespace
