#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/NSLog.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIWindow.h"

namespace {

std::shared_ptr<UIAlertController> respringAlert(std::vector<std::string>& taps) {
    auto alert = UIAlertController::alertControllerWithTitle("Respring Required", "Restart SpringBoard now?",
                                                             UIAlertControllerStyle::Alert);
    auto respring = UIAlertAction::actionWithTitle(
        "Respring", UIAlertActionStyle::Default,
        [&taps](const UIAlertActionPtr& action) { taps.push_back(action->title()); });
    alert->addAction(respring);
    alert->addAction(UIAlertAction::actionWithTitle("Not Now", UIAlertActionStyle::Cancel, nullptr));
    alert->setPreferredAction(respring);
    return alert;
}

TEST(UIAlertController, TappingAnActionDismissesTheAlertBeforeItsHandlerRuns) {
    std::vector<std::string> taps;
    auto page = std::make_shared<UIViewController>();
    auto window = std::make_shared<UIWindow>();
    window->setRootViewController(page);
    window->makeKeyAndVisible();

    auto alert = respringAlert(taps);
    EXPECT_EQ(alert->title(), "Respring Required");
    EXPECT_EQ(alert->preferredStyle(), UIAlertControllerStyle::Alert);
    page->presentViewController(alert, true, nullptr);
    ASSERT_EQ(page->presentedViewController(), alert);

    // The handler sees the alert already gone, so it may present again.
    bool presentedDuringHandler = true;
    auto follow =
        UIAlertAction::actionWithTitle("Follow", UIAlertActionStyle::Default, [&](const UIAlertActionPtr&) {
            presentedDuringHandler = page->presentedViewController() != nullptr;
        });
    alert->addAction(follow);
    EXPECT_TRUE(platform::tapAlertAction(alert, "Follow"));
    EXPECT_FALSE(presentedDuringHandler);
    EXPECT_EQ(alert->presentingViewController(), nullptr);
    EXPECT_EQ(alert->viewIfLoaded()->window(), nullptr);

    auto second = respringAlert(taps);
    page->presentViewController(second, true, nullptr);
    EXPECT_FALSE(platform::tapAlertAction(second, "Cancel")) << "no such action";
    EXPECT_EQ(page->presentedViewController(), second) << "a missed tap leaves the alert up";
    EXPECT_TRUE(platform::tapAlertAction(second, "Respring"));
    EXPECT_EQ(taps, std::vector<std::string>{"Respring"});
    EXPECT_EQ(page->presentedViewController(), nullptr);

    // An action without a handler just closes the alert; a disabled one cannot be tapped.
    auto third = respringAlert(taps);
    third->actions().front()->setEnabled(false);
    page->presentViewController(third, false, nullptr);
    EXPECT_FALSE(platform::tapAlertAction(third, "Respring"));
    EXPECT_TRUE(platform::tapAlertAction(third, "Not Now"));
    EXPECT_EQ(page->presentedViewController(), nullptr);
    EXPECT_EQ(taps.size(), 1u);
}

TEST(UIAlertController, PreferredActionMustBeOneOfItsOwn) {
    std::vector<std::string> taps;
    auto alert = respringAlert(taps);
    auto own = alert->actions().front();
    EXPECT_EQ(alert->preferredAction(), own);

    platform::LogCapture capture;
    auto stranger = UIAlertAction::actionWithTitle("Elsewhere", UIAlertActionStyle::Destructive, nullptr);
    alert->setPreferredAction(stranger);
    EXPECT_EQ(alert->preferredAction(), own);
    EXPECT_TRUE(capture.contains("preferred action"));

    alert->addAction(own); // not added twice
    EXPECT_EQ(alert->actions().size(), 2u);
    alert->setPreferredAction(nullptr);
    EXPECT_EQ(alert->preferredAction(), nullptr);
}

} // namespace
