#include <gtest/gtest.h>

#include "tests/platform/uikit/UIKitTestSupport.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UISegmentedControl.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UIStepper.h"
#include "platform/uikit/UISwitch.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UITextView.h"
#include "platform/uikit/UIWindow.h"

namespace {

class AppearancePageA : public UIViewController {};
class AppearancePageB : public UIViewController {};
class AppearanceSpecialSwitch : public UISwitch {};

[[maybe_unused]] const Class pageAClass =
    platform::registerClass<AppearancePageA, UIViewController>("AppearancePageA");
[[maybe_unused]] const Class pageBClass =
    platform::registerClass<AppearancePageB, UIViewController>("AppearancePageB");
[[maybe_unused]] const Class specialSwitchClass =
    platform::registerClass<AppearanceSpecialSwitch, UISwitch>("AppearanceSpecialSwitch");

// A visible window whose navigation controller shows page A.
struct VisiblePages {
    std::shared_ptr<AppearancePageA> pageA = std::make_shared<AppearancePageA>();
    std::shared_ptr<AppearancePageB> pageB = std::make_shared<AppearancePageB>();
    std::shared_ptr<UINavigationController> navigation =
        UINavigationController::initWithRootViewController(pageA);
    std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>();

    VisiblePages() {
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
    }
};

const UIColorPtr red = UIColor::colorWithRed(1, 0, 0, 1);
const UIColorPtr blue = UIColor::colorWithRed(0, 0, 1, 1);
const UIColorPtr green = UIColor::colorWithRed(0, 1, 0, 1);

TEST(Appearance, SwitchTakesTheOnTintOfThePageClassItLiesIn) {
    UIKitStateGuard guard;
    UISwitch::appearanceWhenContainedInInstancesOfClasses({pageAClass})->setOnTintColor(red);
    UISwitch::appearanceWhenContainedInInstancesOfClasses({pageBClass})->setOnTintColor(blue);
    VisiblePages pages;

    auto switchInA = std::make_shared<UISwitch>();
    auto row = std::make_shared<UIView>(); // the switch sits deeper than the page's own view
    pages.pageA->view()->addSubview(row);
    EXPECT_EQ(switchInA->onTintColor(), nullptr);
    row->addSubview(switchInA);
    EXPECT_EQ(switchInA->onTintColor(), red);

    auto switchInB = std::make_shared<AppearanceSpecialSwitch>();
    pages.pageB->view()->addSubview(switchInB);
    EXPECT_EQ(switchInB->onTintColor(), nullptr) << "page B is not in a window yet";
    pages.navigation->pushViewController(pages.pageB, true);
    EXPECT_EQ(switchInB->onTintColor(), blue) << "a subclass of UISwitch matches too";

    // A switch outside any page of those classes takes nothing.
    auto loose = std::make_shared<UISwitch>();
    pages.window->addSubview(loose);
    EXPECT_EQ(loose->onTintColor(), nullptr);

    // A value set on the switch itself is kept when it enters a window again.
    auto own = std::make_shared<UISwitch>();
    own->setOnTintColor(green);
    pages.pageB->view()->addSubview(own);
    EXPECT_EQ(own->onTintColor(), green);
}

TEST(Appearance, PrecedenceAndRegistryQueries) {
    UIKitStateGuard guard;
    Class switchClass = objc_getClass("UISwitch");
    ASSERT_NE(switchClass, nullptr);
    auto& registry = platform::AppearanceRegistry::shared();

    // Contained rules beat the general one even when set earlier; within one containment the last
    // value set wins.
    UISwitch::appearanceWhenContainedInInstancesOfClasses({pageAClass})->setOnTintColor(blue);
    UISwitch::appearanceWhenContainedInInstancesOfClasses({pageAClass})->setOnTintColor(red);
    UISwitch::appearance()->setOnTintColor(green);
    EXPECT_EQ(registry.color(switchClass, {pageAClass}, "onTintColor"), red);
    EXPECT_EQ(registry.color(switchClass, {}, "onTintColor"), green);
    EXPECT_EQ(registry.color(switchClass, {pageBClass}, "onTintColor"), nullptr);
    EXPECT_EQ(registry.resolvedValue(switchClass, {objc_getClass("UIView"), pageAClass}, "onTintColor"), red);
    EXPECT_EQ(registry.resolvedValue(switchClass, {pageBClass}, "onTintColor"), green);
    EXPECT_EQ(registry.resolvedValue(specialSwitchClass, {pageAClass}, "onTintColor"), red);

    // A rule for the more derived class beats one for its base at the same containment.
    platform::AppearanceProxy::appearanceForClass(specialSwitchClass, {pageAClass})->setOnTintColor(green);
    EXPECT_EQ(registry.resolvedValue(switchClass, {pageAClass}, "onTintColor"), red);
    EXPECT_EQ(registry.resolvedValue(specialSwitchClass, {pageAClass}, "onTintColor"), green);

    // Nested containment: inner class first, then the class around it.
    Class navigationClass = objc_getClass("UINavigationController");
    UISwitch::appearanceWhenContainedInInstancesOfClasses({pageBClass, navigationClass})
        ->setOnTintColor(blue);
    EXPECT_EQ(registry.resolvedValue(switchClass, {pageBClass, navigationClass}, "onTintColor"), blue);
    EXPECT_EQ(registry.resolvedValue(switchClass, {navigationClass, pageBClass}, "onTintColor"), green)
        << "the order of containers matters";

    // Code that sets appearance through the runtime reaches the same registry.
    auto proxy = UISwitch::appearanceWhenContainedInInstancesOfClasses({pageBClass});
    objc_msgSend(proxy, "setOnTintColor:", {red});
    EXPECT_EQ(proxy->onTintColor(), red);
    proxy->setOnTintColor(nullptr);
    EXPECT_EQ(registry.color(switchClass, {pageBClass}, "onTintColor"), nullptr);
}

template <class Control> void expectTintFromPageAppearance(VisiblePages& pages, const UIColorPtr& color) {
    Control::appearanceWhenContainedInInstancesOfClasses({pageAClass})->setTintColor(color);
    auto control = std::make_shared<Control>();
    pages.pageA->view()->addSubview(control);
    EXPECT_EQ(control->tintColor(), color) << Control::appearanceClassName;
    EXPECT_EQ(std::string(control->className()), Control::appearanceClassName);
}

TEST(Appearance, EveryThemedControlClassTakesItsTint) {
    UIKitStateGuard guard;
    VisiblePages pages;
    pages.pageA->view()->setTintColor(blue);
    expectTintFromPageAppearance<UITextField>(pages, red);
    expectTintFromPageAppearance<UIButton>(pages, red);
    expectTintFromPageAppearance<UITextView>(pages, red);
    expectTintFromPageAppearance<UIStepper>(pages, red);
    expectTintFromPageAppearance<UISegmentedControl>(pages, red);
    expectTintFromPageAppearance<UISlider>(pages, red);
    expectTintFromPageAppearance<UISwitch>(pages, red);

    // Without a rule a control inherits the page's tint.
    auto plain = std::make_shared<UISlider>();
    pages.pageB->view()->setTintColor(green);
    pages.navigation->pushViewController(pages.pageB, false);
    pages.pageB->view()->addSubview(plain);
    EXPECT_EQ(plain->tintColor(), green);
}

} // namespace
