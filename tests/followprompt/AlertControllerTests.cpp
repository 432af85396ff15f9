// The follow alert as the manifest describes it, per OS release.
#include <gtest/gtest.h>

#include "tests/followprompt/FollowPromptTestSupport.h"
#include "followprompt/alert/ZRMerrowAlertController.h"
#include "followprompt/alert/ZRMerrowAlertHeaderViewController.h"
#include "platform/foundation/RunLoop.h"
#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"

namespace {

Value manifestWith(Value::Dictionary alert, Value::Dictionary topLevel = {}) {
    Value::Dictionary base{{"body", "Follow us."}, {"rejection_title", "Not now"}};
    for (auto& [key, value] : alert)
        base[key] = value;
    topLevel["alert"] = Value(base);
    return Value(topLevel);
}

Value header() {
    return Value::dictionary({{"background_items", Value::array({backgroundItem("Mira", 1)})}});
}

std::vector<std::string> actionTitles(const ZRMerrowAlertController& alert) {
    std::vector<std::string> titles;
    for (const auto& action : alert.actions())
        titles.push_back(action->title());
    return titles;
}

bool sameColor(const UIColorPtr& a, const UIColorPtr& b) {
    return a && b && a->isEqual(b);
}

class AlertControllerTest : public ::testing::Test {
protected:
    void TearDown() override { platform::RunLoop::main().runUntilIdle(); }
    DeviceStateGuard device;
};

TEST_F(AlertControllerTest, MessageIsTheBodyWithAnOptionalDimmerFooter) {
    for (const char* os : {"12.4", "13.0"}) {
        SCOPED_TRACE(os);
        DeviceStateGuard::runOS(os);
        auto plain = ZRMerrowAlertController::merrowAlertControllerWithManifest(manifestWith({}));
        auto style = plain->_visualStyle();
        ASSERT_NE(plain->_attributedMessage(), nullptr);
        EXPECT_EQ(plain->_attributedMessage()->string(), "Follow us.") << "no trailing line breaks";
        EXPECT_EQ(plain->message(), "Follow us.") << "the placeholder is gone";

        auto withFooter = ZRMerrowAlertController::merrowAlertControllerWithManifest(
            manifestWith({{"footer", "Only once."}, {"title", "Hello"}}));
        EXPECT_EQ(withFooter->title(), "Hello");
        auto message = withFooter->_attributedMessage();
        ASSERT_NE(message, nullptr);
        EXPECT_EQ(message->string(), "Follow us.\n\nOnly once.");
        const auto body = message->attributesAtIndex(0);
        EXPECT_EQ(NSAttributedString::fontIn(body)->pointSize(), style->messageLabelFont()->pointSize());
        EXPECT_TRUE(sameColor(NSAttributedString::colorIn(body, NSForegroundColorAttributeName),
                              style->messageLabelColor()));

        NSRange footerRange{};
        const auto footer = message->attributesAtIndex(message->length() - 1, &footerRange);
        EXPECT_EQ(footerRange.location, 10u) << "the line breaks belong to the footer's run";
        EXPECT_TRUE(NSAttributedString::fontIn(footer)->isEqual(
            *UIFont::preferredFontForTextStyle(UIFontTextStyleCaption2)));
        const auto expected = std::string(os) == "13.0" ? UIColor::secondaryLabelColor()
                                                        : UIColor::colorWithRed(0.235, 0.235, 0.263, 0.6);
        EXPECT_TRUE(sameColor(NSAttributedString::colorIn(footer, NSForegroundColorAttributeName), expected));
    }
    // On 13.0 the footer colour follows the appearance.
    DeviceStateGuard::runOS("13.0");
    auto alert = ZRMerrowAlertController::merrowAlertControllerWithManifest(manifestWith({{"footer", "x"}}));
    auto color = NSAttributedString::colorIn(alert->_attributedMessage()->attributesAtIndex(11),
                                             NSForegroundColorAttributeName);
    EXPECT_TRUE(color->isDynamic());
}

TEST_F(AlertControllerTest, ButtonsAreTheCallToActionThenTheRejection) {
    DeviceStateGuard::runOS("13.0");
    auto rejectionOnly = ZRMerrowAlertController::merrowAlertControllerWithManifest(manifestWith({}));
    EXPECT_EQ(actionTitles(*rejectionOnly), std::vector<std::string>{"Not now"});
    EXPECT_EQ(rejectionOnly->preferredAction(), nullptr);
    EXPECT_EQ(rejectionOnly->preferredStyle(), UIAlertControllerStyle::Alert);

    auto both = ZRMerrowAlertController::merrowAlertControllerWithManifest(
        manifestWith({{"call_to_action",
                       Value::dictionary({{"title", "Follow"}, {"url", "https://example.org/follow"}})}}));
    EXPECT_EQ(actionTitles(*both), (std::vector<std::string>{"Follow", "Not now"}));
    EXPECT_EQ(both->preferredAction(), both->actions()[0]);
    for (const auto& action : both->actions())
        EXPECT_EQ(action->style(), UIAlertActionStyle::Default);

    // Tapping the call to action opens its URL; the rejection opens nothing.
    ASSERT_TRUE(platform::tapAlertAction(both, "Follow"));
    auto events = platform::DeviceEventLog::shared().take();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]["openURL"].asString(), "https://example.org/follow");
    ASSERT_TRUE(platform::tapAlertAction(both, "Not now"));
    EXPECT_TRUE(platform::DeviceEventLog::shared().take().empty());

    // A call to action that is not an object is absent.
    auto odd = ZRMerrowAlertController::merrowAlertControllerWithManifest(
        manifestWith({{"call_to_action", "Follow"}}));
    EXPECT_EQ(actionTitles(*odd), std::vector<std::string>{"Not now"});
}

TEST_F(AlertControllerTest, HeaderOnlyFromTheTopLevelAndFrom12) {
    DeviceStateGuard::runOS("12.0");
    auto withHeader =
        ZRMerrowAlertController::merrowAlertControllerWithManifest(manifestWith({}, {{"header", header()}}));
    auto controller = std::dynamic_pointer_cast<ZRMerrowAlertHeaderViewController>(
        withHeader->_headerContentViewController());
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(controller->headerInfo(), header());
    EXPECT_FALSE(controller->isViewLoaded()) << "nothing is built before presentation";

    auto nested =
        ZRMerrowAlertController::merrowAlertControllerWithManifest(manifestWith({{"header", header()}}));
    EXPECT_EQ(nested->_headerContentViewController(), nullptr);

    DeviceStateGuard::runOS("11.4");
    auto old =
        ZRMerrowAlertController::merrowAlertControllerWithManifest(manifestWith({}, {{"header", header()}}));
    EXPECT_EQ(old->_headerContentViewController(), nullptr);
}

TEST_F(AlertControllerTest, DisplayCheckAsksWhetherAnAppOpensTheURL) {
    platform::SimulatedDevice::setInstalledURLSchemes({"twitter"});
    auto allowed = [](Value check) {
        Value::Dictionary top;
        if (!check.isNull())
            top["display_check_url"] = check;
        return ZRMerrowAlertController::merrowAlertControllerWithManifest(manifestWith({}, top))
            ->isAllowedToShowBasedOnManifest();
    };
    EXPECT_TRUE(allowed(Value()));
    EXPECT_TRUE(allowed("twitter://user?screen_name=halcyra"));
    EXPECT_FALSE(allowed("tweetbot://halcyra"));
    EXPECT_TRUE(allowed("not a url")) << "what is not a URL does not block";
    EXPECT_TRUE(allowed(12)) << "nor does a value of another type";
}

TEST_F(AlertControllerTest, PresentedHeaderReachesBelowItsUnclippedContainer) {
    DeviceStateGuard::runOS("13.0");
    auto window = std::make_shared<UIWindow>();
    window->initWithFrame(CGRectMake(0, 0, 375, 667));
    auto root = std::make_shared<UIViewController>();
    window->setRootViewController(root);
    window->makeKeyAndVisible();

    auto alert =
        ZRMerrowAlertController::merrowAlertControllerWithManifest(manifestWith({}, {{"header", header()}}));
    root->presentViewController(alert, true, nullptr);
    window->layoutIfNeeded();
    auto headerView = alert->_headerContentViewController()->view();
    ASSERT_EQ(headerView->superview(), alert->view());
    EXPECT_FALSE(alert->view()->clipsToBounds());
    EXPECT_EQ(headerView->frame().size.width, UIAlertController::cardWidth);
    EXPECT_EQ(headerView->frame().size.height, 140) << "the band is 160 high and reaches 20 below";
    EXPECT_EQ(alert->view()->frame().origin.x, (375 - 270) / 2.0);

    ASSERT_TRUE(platform::tapAlertAction(alert, "Not now"));
    EXPECT_EQ(root->presentedViewController(), nullptr);
    window->setHidden(true);
}

} // namespace

TEST_F(AlertControllerTest, LongTextsAreCutToWhatAnAlertShows) {
    DeviceStateGuard::runOS("13.0");
    // Two-byte characters, so that a cut in the middle of one would show.
    std::string body;
    for (int index = 0; index < 50000; ++index)
        body += "\xC3\xA9";
    auto alert = ZRMerrowAlertController::merrowAlertControllerWithManifest(
        manifestWith({{"title", std::string(5000, 't')},
                      {"body", body},
                      {"footer", std::string(9000, 'f')},
                      {"rejection_title", std::string(300, 'r')}}));
    const std::string ellipsis = "\xE2\x80\xA6";
    EXPECT_EQ(alert->title(), std::string(200, 't') + ellipsis);
    const std::string message = alert->_attributedMessage()->string();
    EXPECT_EQ(message, body.substr(0, 4000) + ellipsis + "\n\n" + std::string(2000, 'f') + ellipsis);
    EXPECT_EQ(actionTitles(*alert), (std::vector<std::string>{std::string(200, 'r') + ellipsis}));

    auto exact = ZRMerrowAlertController::merrowAlertControllerWithManifest(
        manifestWith({{"title", std::string(200, 't')}}));
    EXPECT_EQ(exact->title(), std::string(200, 't')) << "a text at the limit is whole";
}
