#include <gtest/gtest.h>

#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"

namespace {

// The appearance is process-wide: each test leaves it as it found it.
class NavigationBarAppearanceGuard {
public:
    NavigationBarAppearanceGuard() { m_saved->_applyAppearance(); }
    ~NavigationBarAppearanceGuard() {
        const auto look = UINavigationBar::appearance();
        look->setBarTintColor(m_saved->barTintColor());
        look->setTintColor(m_saved->ownTintColor());
        look->setBarStyle(m_saved->barStyle());
        look->setTranslucent(m_saved->isTranslucent());
        look->setShadowImage(m_saved->shadowImage());
    }

private:
    std::shared_ptr<UINavigationBar> m_saved = std::make_shared<UINavigationBar>();
};

} // namespace

TEST(UINavigationBar, NewBarsTakeTheApplicationWideAppearance) {
    NavigationBarAppearanceGuard guard;
    const auto before =
        UINavigationController::initWithRootViewController(std::make_shared<UIViewController>());
    EXPECT_EQ(before->navigationBar()->barTintColor(), nullptr);
    EXPECT_EQ(before->navigationBar()->ownTintColor(), nullptr);

    const auto look = UINavigationBar::appearance();
    const auto orange = UIColor::colorWithRed(1, 0.5, 0, 1);
    look->setBarTintColor(orange);
    look->setTintColor(UIColor::whiteColor());
    look->setBarStyle(UIBarStyle::Black);
    look->setTranslucent(false);

    const auto after =
        UINavigationController::initWithRootViewController(std::make_shared<UIViewController>());
    const auto bar = after->navigationBar();
    EXPECT_EQ(bar->barTintColor(), orange);
    EXPECT_EQ(bar->ownTintColor(), UIColor::whiteColor());
    EXPECT_EQ(bar->barStyle(), UIBarStyle::Black);
    EXPECT_FALSE(bar->isTranslucent());
    // Bars made earlier keep the look they were given.
    EXPECT_EQ(before->navigationBar()->barTintColor(), nullptr);
}

TEST(UINavigationBar, TintIsInheritedUntilSetAndAfterBeingCleared) {
    const auto container = std::make_shared<UIView>();
    const auto red = UIColor::colorWithRed(1, 0, 0, 1);
    container->setTintColor(red);
    const auto bar = std::make_shared<UINavigationBar>();
    container->addSubview(bar);
    EXPECT_EQ(bar->ownTintColor(), nullptr);
    EXPECT_EQ(bar->tintColor(), red);

    bar->setTintColor(UIColor::whiteColor());
    EXPECT_EQ(bar->ownTintColor(), UIColor::whiteColor());
    EXPECT_EQ(bar->tintColor(), UIColor::whiteColor());

    // Restoring a look whose tint was never set must hand the bar back to inheritance.
    bar->setTintColor(nullptr);
    EXPECT_EQ(bar->ownTintColor(), nullptr);
    EXPECT_EQ(bar->tintColor(), red);
}

TEST(UINavigationBar, OnlyAnEmptyShadowImageRemovesTheHairline) {
    const auto bar = std::make_shared<UINavigationBar>();
    EXPECT_TRUE(bar->showsShadowHairline());
    bar->setShadowImage(std::make_shared<UIImage>());
    EXPECT_FALSE(bar->showsShadowHairline());
    bar->setShadowImage(nullptr);
    EXPECT_TRUE(bar->showsShadowHairline());
}
