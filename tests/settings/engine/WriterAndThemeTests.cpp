#include <string>
#include <vector>

#include "tests/settings/engine/PaneFixture.h"
#include "settings/engine/KVCorvaleSettingsSubController.h"
#include "platform/preferences/PreferencesInteraction.h"
#include "settings/rootpage/KVCorvaleSettingsController.h"
#include "platform/uikit/UIAlertAction.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIWindow.h"

namespace {

class Writer : public PaneFixture {
protected:
    void SetUp() override {
        PaneFixture::SetUp();
        writeList("Tweak", {
                               withKey(switchRow("Enabled", "enabled", false), "RespringRequired", true),
                               withKey(switchRow("Detail", "detail", false), "DependsOn", "enabled"),
                               switchRow("Loose", "loose", false),
                           });
        page = openPage<KVCorvaleSettingsController>();
        page->view();
    }
    bool set(std::string_view key, const Value& value) {
        return platform::PreferencesInteraction::setValueOfRowWithKey(page, key, value);
    }
    CGFloat heightOf(std::string_view label) {
        auto row = platform::PreferencesInteraction::rowWithLabel(page, label);
        return page->tableViewHeightForRowAtIndexPath(page->table(), page->indexPathForSpecifier(row));
    }
    std::shared_ptr<UIAlertController> presentedAlert() {
        return std::dynamic_pointer_cast<UIAlertController>(page->presentedViewController());
    }

    std::shared_ptr<KVCorvaleSettingsController> page;
};

TEST_F(Writer, DependedUponRowShowsItsDependentsAndOnlyThenOffersARespring) {
    EXPECT_EQ(heightOf("Detail"), KVCorvaleBaseSettingsController::collapsedRowHeight);
    const long updatesBefore = page->table()->animatedUpdateCount();

    ASSERT_TRUE(set("enabled", true));
    EXPECT_EQ(page->table()->animatedUpdateCount(), updatesBefore + 1);
    EXPECT_EQ(heightOf("Detail"), PSListController::defaultRowHeight);

    auto alert = presentedAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "Respring Required");
    EXPECT_EQ(alert->message(), "This setting requires a respring in order to take effect. Would you like to "
                                "restart SpringBoard now?");
    ASSERT_EQ(alert->actions().size(), 2u);
    EXPECT_EQ(alert->actions()[0]->title(), "Respring");
    EXPECT_EQ(alert->actions()[0]->style(), UIAlertActionStyle::Default);
    EXPECT_EQ(alert->preferredAction(), alert->actions()[0]);
    EXPECT_EQ(alert->actions()[1]->title(), "Not Now");
    EXPECT_EQ(alert->actions()[1]->style(), UIAlertActionStyle::Cancel);

    // "Not Now" keeps the value and restarts nothing; the next write asks again.
    ASSERT_TRUE(platform::tapAlertAction(alert, "Not Now"));
    EXPECT_EQ(page->presentedViewController(), nullptr);
    EXPECT_TRUE(platform::DeviceEventLog::shared().take().empty());
    EXPECT_TRUE(
        page->readPreferenceValue(platform::PreferencesInteraction::rowWithKey(page, "enabled")).boolValue());

    ASSERT_TRUE(set("enabled", false));
    EXPECT_EQ(heightOf("Detail"), KVCorvaleBaseSettingsController::collapsedRowHeight);
    ASSERT_NE(presentedAlert(), nullptr);
    // Outside Settings, with no system service: the application restarts SpringBoard itself.
    ASSERT_TRUE(platform::tapAlertAction(presentedAlert(), "Respring"));
    auto events = platform::DeviceEventLog::shared().take();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]["respring"]["via"], Value("UIApplication"));
}

TEST_F(Writer, RowsNobodyDependsOnLeaveTheTableAlone) {
    const long updatesBefore = page->table()->animatedUpdateCount();
    ASSERT_TRUE(set("loose", true));
    ASSERT_TRUE(set("detail", true));
    EXPECT_EQ(page->table()->animatedUpdateCount(), updatesBefore);
    EXPECT_EQ(page->presentedViewController(), nullptr);
}

TEST_F(Writer, VisibilityFollowsTheStoredValueNotThePassedOne) {
    // The store keeps what it is given; a string "NO" reads back as false, as boolValue says.
    ASSERT_TRUE(set("enabled", Value("NO")));
    EXPECT_EQ(heightOf("Detail"), KVCorvaleBaseSettingsController::collapsedRowHeight);
    ASSERT_TRUE(platform::tapAlertAction(presentedAlert(), "Not Now"));
    ASSERT_TRUE(set("enabled", Value("YES")));
    EXPECT_EQ(heightOf("Detail"), PSListController::defaultRowHeight);
    // The alert's handler holds the page until the alert is gone.
    ASSERT_TRUE(platform::tapAlertAction(presentedAlert(), "Not Now"));
}

class Theme : public PaneFixture {
protected:
    struct RGB {
        double red = -1, green = -1, blue = -1;
    };
    static RGB rgb(const UIColorPtr& color) {
        RGB value;
        if (color)
            color->getRed(&value.red, &value.green, &value.blue, nullptr);
        return value;
    }
    template <class T> std::shared_ptr<T> loadedPage() {
        auto page = openPage<T>();
        page->view();
        return page;
    }
};

TEST_F(Theme, DefaultsConfiguredColoursAndDarkVariants) {
    auto bare = loadedPage<KVCorvaleSettingsController>();
    EXPECT_FLOAT_EQ(rgb(bare->headerColour()).red, 0.47);
    EXPECT_TRUE(bare->view()->tintColor()->isEqual(bare->headerColour()));

    // A configured header without a tint: the tint follows the configured header, not the default.
    writeList("Tweak", {}, Value::dictionary({{"headerColour", "0.1:0.2:0.3"}, {"tintColour", "0:1"}}));
    auto headerOnly = loadedPage<KVCorvaleSettingsController>();
    EXPECT_FLOAT_EQ(rgb(headerOnly->headerColour()).green, 0.2f);
    EXPECT_FLOAT_EQ(rgb(headerOnly->view()->tintColor()).blue, 0.3f);

    writeList("Tweak", {},
              Value::dictionary({{"headerColour", "1:0:0"},
                                 {"headerColour:dark", "0:0:1"},
                                 {"tintColour", "0:1:0"},
                                 {"tintColour:dark", "1:1:1"}}));
    platform::SimulatedDevice::setOSVersion({13, 0, 0});
    platform::SimulatedDevice::setAppearance(platform::SimulatedDevice::Appearance::Dark);
    auto dark = loadedPage<KVCorvaleSettingsController>();
    EXPECT_EQ(rgb(dark->headerColour()).blue, 1.0);
    EXPECT_EQ(rgb(dark->view()->tintColor()).red, 1.0);
    platform::SimulatedDevice::setAppearance(platform::SimulatedDevice::Appearance::Light);
    EXPECT_EQ(rgb(dark->headerColour()).red, 1.0);

    platform::SimulatedDevice::setOSVersion({12, 4, 0});
    platform::SimulatedDevice::setAppearance(platform::SimulatedDevice::Appearance::Dark);
    auto old = loadedPage<KVCorvaleSettingsController>();
    EXPECT_EQ(rgb(old->headerColour()).red, 1.0);
}

TEST_F(Theme, ControlTintsAreScopedToThePageClass) {
    writeList("Tweak", {}, Value::dictionary({{"tintColour", "0:0.5:0"}}));
    loadedPage<KVCorvaleSettingsController>();
    auto& registry = platform::AppearanceRegistry::shared();
    const std::vector<Class> rootPage{objc_getClass("KVCorvaleSettingsController")};
    EXPECT_FLOAT_EQ(rgb(registry.color(objc_getClass("UISwitch"), rootPage, "onTintColor")).green, 0.5);
    EXPECT_EQ(registry.color(objc_getClass("UISwitch"), rootPage, "tintColor"), nullptr);
    for (const char* control :
         {"UITextField", "UIButton", "UITextView", "UIStepper", "UISegmentedControl", "UISlider"})
        EXPECT_FLOAT_EQ(rgb(registry.color(objc_getClass(control), rootPage, "tintColor")).green, 0.5)
            << control;
    EXPECT_EQ(registry.color(objc_getClass("UIButton"), {objc_getClass("KVCorvaleSettingsSubController")},
                             "tintColor"),
              nullptr);
}

TEST_F(Theme, SubPageShowsItsOwnListFromTheOpenersBundleWithoutTheLoadingPass) {
    writeList("Tweak",
              {Value::dictionary({{"cell", "PSLinkCell"},
                                  {"label", "More"},
                                  {"detail", "KVCorvaleSettingsSubController"},
                                  {"id", "More"}})},
              Value::dictionary({{"headerColour", "0:0:0.5"}}));
    writeList("More", {withKey(switchRow("Gated", "g", true), "OSRequirement", "major > 99"),
                       withKey(switchRow("Dependent", "d", true), "DependsOn", "g")});

    auto root = loadedPage<KVCorvaleSettingsController>();
    auto navigation = UINavigationController::initWithRootViewController(root);
    ASSERT_TRUE(platform::PreferencesInteraction::tapRowWithLabel(root, "More"));
    auto sub = std::dynamic_pointer_cast<KVCorvaleSettingsSubController>(navigation->topViewController());
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->plistName(), "More");
    ASSERT_NE(sub->specifiers(), nullptr);
    ASSERT_EQ(sub->specifiers()->size(), 2u);
    auto dependent = platform::PreferencesInteraction::rowWithLabel(sub, "Dependent");
    EXPECT_EQ(sub->tableViewHeightForRowAtIndexPath(sub->table(), sub->indexPathForSpecifier(dependent)),
              KVCorvaleBaseSettingsController::collapsedRowHeight);
    sub->view();
    EXPECT_FLOAT_EQ(rgb(sub->headerColour()).blue, 0.5);

    // "Plist" wins over the identifier.
    sub->specifier()->setProperty(Value("Tweak"), "Plist");
    EXPECT_EQ(sub->plistName(), "Tweak");
}

} // namespace
