#include <gtest/gtest.h>

#include "platform/foundation/ManualClock.h"
#include "tests/settings/rootpage/RootPageFixture.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/UILayoutGuide.h"

namespace {

// Where the header stands relative to the bottom of the top layout guide, and how high it is.
struct HeaderPlacement {
    CGFloat topOffset;
    CGFloat height;
};

} // namespace

class RootPageBarsAndGeometry : public RootPageFixture {
protected:
    void SetUp() override {
        RootPageFixture::SetUp();
        writeList("Tweak", {}, Value::dictionary({{"headerColour", "#FF6600"}}));
    }

    // Scrolls the table to a scroll amount (top inset plus offset) and lays the page out.
    void scrollTo(const std::shared_ptr<KVCorvaleSettingsController>& page, CGFloat amount) {
        const CGFloat inset = page->table()->adjustedContentInset().top;
        page->table()->setContentOffset(CGPoint{0, amount - inset});
        settle();
    }

    HeaderPlacement placement(const std::shared_ptr<KVCorvaleSettingsController>& page) {
        const auto pageView = page->view();
        const CGRect header = page->headerView()->convertRect(page->headerView()->bounds(), pageView);
        const CGRect guide = page->topLayoutGuide()->layoutFrame();
        return {header.origin.y - CGRectGetMaxY(guide), header.size.height};
    }

    CGFloat titleLabelBottomInHeader(const std::shared_ptr<KVCorvaleSettingsController>& page) {
        const auto& label = page->_titleLabel();
        return CGRectGetMaxY(label->convertRect(label->bounds(), page->headerView()));
    }
};

TEST_F(RootPageBarsAndGeometry, TheHeaderStretchesWhenPulledAndSlidesUpWithTheContent) {
    const auto page = showRootPage();
    auto rest = placement(page);
    EXPECT_EQ(rest.height, 170);
    EXPECT_EQ(rest.topOffset, 0);
    EXPECT_EQ(page->headerView()->frame().size.width, 375);
    EXPECT_EQ(page->table()->contentInset().top, 135);

    scrollTo(page, -50);
    auto pulled = placement(page);
    EXPECT_EQ(pulled.height, 220);
    EXPECT_EQ(pulled.topOffset, 0);
    EXPECT_EQ(page->table()->scrollIndicatorInsets().top, 220);

    scrollTo(page, 100);
    auto scrolled = placement(page);
    EXPECT_EQ(scrolled.height, 170);
    EXPECT_EQ(scrolled.topOffset, -100);
    EXPECT_EQ(page->table()->scrollIndicatorInsets().top, 70);

    scrollTo(page, 200);
    EXPECT_EQ(placement(page).topOffset, -200);
    EXPECT_EQ(page->table()->scrollIndicatorInsets().top, 0);
}

TEST_F(RootPageBarsAndGeometry, TheTitleViewSwapsAtTheTitleLabelsBottomEdgeAnimatedOnlyOnceShown) {
    platform::ScopedManualClock clock;
    auto page = openPage<KVCorvaleSettingsController>();
    // Before the page appears: swaps are immediate.
    page->view();
    page->view()->setFrame(CGRect{{0, 0}, {375, 667}});
    page->view()->layoutIfNeeded();
    const CGFloat edge = titleLabelBottomInHeader(page);
    EXPECT_GT(edge, 85);
    EXPECT_LT(edge, 170);
    const auto inset = page->table()->adjustedContentInset().top;
    page->table()->setContentOffset(CGPoint{0, edge + 1 - inset});
    EXPECT_FALSE(page->titleView()->showingIcon());
    EXPECT_EQ(page->titleView()->_titleStackView()->layer()->presentationLayer()->opacity(), 1);
    page->table()->setContentOffset(CGPoint{0, edge - inset});
    EXPECT_TRUE(page->titleView()->showingIcon()) << "at exact equality the icon shows";

    // Shown: the same swap now animates.
    page = showRootPage();
    EXPECT_TRUE(page->_hasAppeared());
    scrollTo(page, titleLabelBottomInHeader(page) + 1);
    EXPECT_FALSE(page->titleView()->showingIcon());
    EXPECT_LT(page->titleView()->_titleStackView()->layer()->presentationLayer()->opacity(), 0.1);
    clock.clock().advance(0.2);
    EXPECT_NEAR(page->titleView()->_titleStackView()->layer()->presentationLayer()->opacity(), 1, 0.01);
}

TEST_F(RootPageBarsAndGeometry, CompactWidthThemesTheBarsAndRegularWidthRestoresThem) {
    const auto look = UINavigationBar::appearance();
    const auto appearanceTint = look->barTintColor();
    const auto page = showRootPage(UIUserInterfaceSizeClassCompact);
    EXPECT_TRUE(page->_themeNavigationBar());
    EXPECT_TRUE(bar()->barTintColor()->isEqual(page->headerColour()));
    EXPECT_TRUE(bar()->tintColor()->isEqual(UIColor::whiteColor()));
    EXPECT_EQ(bar()->barStyle(), UIBarStyle::BlackTranslucent);
    EXPECT_FALSE(bar()->isTranslucent());
    EXPECT_FALSE(bar()->showsShadowHairline());
    EXPECT_EQ(UIApplication::sharedApplication()->statusBarStyle(), UIStatusBarStyle::LightContent);
    EXPECT_TRUE(page->titleView()->whiteText());
    EXPECT_EQ(page->_headerContentsViewCenterConstraint()->constant(), -6);

    // The header stack sits 6 points above the centre of the 170-point header.
    const auto stack = page->_titleLabel()->superview();
    const CGRect stackFrame = stack->convertRect(stack->bounds(), page->headerView());
    EXPECT_NEAR(stackFrame.origin.y + stackFrame.size.height / 2, 85 - 6, 0.001);

    setSizeClass(UIUserInterfaceSizeClassRegular);
    EXPECT_FALSE(page->_themeNavigationBar());
    EXPECT_EQ(bar()->barTintColor(), appearanceTint);
    EXPECT_EQ(bar()->ownTintColor(), look->ownTintColor());
    EXPECT_EQ(bar()->barStyle(), look->barStyle());
    EXPECT_TRUE(bar()->isTranslucent());
    EXPECT_TRUE(bar()->showsShadowHairline());
    EXPECT_FALSE(page->titleView()->whiteText());
    EXPECT_EQ(page->_headerContentsViewCenterConstraint()->constant(), 0);
    const CGRect centred = stack->convertRect(stack->bounds(), page->headerView());
    EXPECT_NEAR(centred.origin.y + centred.size.height / 2, 85, 0.001);
    // Loading themed the status bar before the first appearance could remember it: Default is restored.
    EXPECT_EQ(UIApplication::sharedApplication()->statusBarStyle(), UIStatusBarStyle::Default);

    setSizeClass(UIUserInterfaceSizeClassCompact);
    EXPECT_FALSE(bar()->isTranslucent());
    EXPECT_EQ(UIApplication::sharedApplication()->statusBarStyle(), UIStatusBarStyle::LightContent);
}

TEST_F(RootPageBarsAndGeometry, LeavingRestoresTheBarsAndComingBackRemembersTheStyleInForce) {
    const auto page = showRootPage(UIUserInterfaceSizeClassCompact);
    EXPECT_EQ(page->originalStatusBarStyle(), 0);

    // A pushed page has no effects: the bar and status bar return to the application's look.
    auto subPage = std::make_shared<UIViewController>();
    inner->pushViewController(subPage, false);
    settle();
    EXPECT_FALSE(page->_navbarEffectActive());
    EXPECT_TRUE(bar()->isTranslucent());
    EXPECT_EQ(UIApplication::sharedApplication()->statusBarStyle(), UIStatusBarStyle::Default);

    // Whatever style is in force when the page comes back is what leaving restores next time.
    UIApplication::sharedApplication()->setStatusBarStyle(UIStatusBarStyle::DarkContent);
    inner->popViewControllerAnimated(false);
    settle();
    EXPECT_EQ(page->originalStatusBarStyle(), static_cast<std::int64_t>(UIStatusBarStyle::DarkContent));
    EXPECT_FALSE(bar()->isTranslucent());
    EXPECT_EQ(UIApplication::sharedApplication()->statusBarStyle(), UIStatusBarStyle::LightContent);
    inner->pushViewController(subPage, false);
    settle();
    EXPECT_EQ(UIApplication::sharedApplication()->statusBarStyle(), UIStatusBarStyle::DarkContent);

    // Asking for the state in force writes nothing to the bar.
    bar()->setTranslucent(false);
    page->setNavbarEffectActive(false);
    EXPECT_FALSE(bar()->isTranslucent());
}

TEST_F(RootPageBarsAndGeometry, TheRootPageReachesUnderTheOpaqueThemedBarWhileSubPagesStartBelowOne) {
    const auto page = showRootPage(UIUserInterfaceSizeClassCompact);
    ASSERT_FALSE(bar()->isTranslucent());
    EXPECT_TRUE(page->extendedLayoutIncludesOpaqueBars());
    EXPECT_EQ(page->view()->convertRect(page->view()->bounds(), window), CGRectMake(0, 0, 375, 667));
    EXPECT_EQ(page->view()->safeAreaInsets().top, 64);
    EXPECT_EQ(page->headerView()->convertRect(page->headerView()->bounds(), window).origin.y, 64);

    auto subPage = std::make_shared<UIViewController>();
    inner->pushViewController(subPage, false);
    settle();
    EXPECT_EQ(subPage->view()->convertRect(subPage->view()->bounds(), window), CGRectMake(0, 0, 375, 667))
        << "the bar is translucent again";
    bar()->setTranslucent(false);
    settle();
    EXPECT_EQ(subPage->view()->convertRect(subPage->view()->bounds(), window), CGRectMake(0, 64, 375, 603));
    EXPECT_EQ(subPage->view()->safeAreaInsets().top, 0);
}
