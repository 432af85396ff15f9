#include <gtest/gtest.h>

#include <algorithm>

#include "tests/platform/uikit/UIKitTestSupport.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/RunLoop.h"
#include "platform/uikit/NSIndexPath.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIWindow.h"

namespace {

using platform::DeviceEventLog;
using platform::SimulatedDevice;

std::shared_ptr<NSURL> url(const char* text) {
    return NSURL::URLWithString(text);
}

TEST(UIApplication, CanOpenWebLinksAlwaysAndAppSchemesOnlyWhenInstalled) {
    UIKitStateGuard guard;
    auto application = UIApplication::sharedApplication();
    EXPECT_EQ(application, UIApplication::sharedApplication());
    SimulatedDevice::setInstalledURLSchemes({});
    EXPECT_TRUE(application->canOpenURL(url("https://twitter.com/corvale")));
    EXPECT_TRUE(application->canOpenURL(url("HTTP://example.com")));
    EXPECT_FALSE(application->canOpenURL(url("twitter://user?screen_name=corvale")));
    EXPECT_FALSE(application->canOpenURL(url("mailto:someone@example.com")));
    EXPECT_FALSE(application->canOpenURL(nullptr));
    EXPECT_FALSE(application->canOpenURL(url("relative/path")));

    SimulatedDevice::setInstalledURLSchemes({"Twitter", "mailto"});
    EXPECT_TRUE(application->canOpenURL(url("twitter://user?screen_name=corvale")));
    EXPECT_TRUE(application->canOpenURL(url("mailto:someone@example.com")));
    EXPECT_FALSE(application->canOpenURL(url("reddit:///u/corvale")));
}

TEST(UIApplication, OpenedLinksAndRespringsAreRecordedInOrder) {
    UIKitStateGuard guard;
    auto application = UIApplication::sharedApplication();
    SimulatedDevice::setInstalledURLSchemes({"twitter"});

    EXPECT_TRUE(application->openURL(url("twitter://user?screen_name=corvale")));
    EXPECT_FALSE(application->openURL(url("reddit:///u/corvale")));
    bool answer = false;
    bool answered = false;
    application->openURL(url("https://halcyra.dev/?src=twkprefsnav"), Value::dictionary(), [&](bool opened) {
        answered = true;
        answer = opened;
    });
    EXPECT_FALSE(answered) << "the completion comes on the main queue's next turn";
    application->_relaunchSpringBoardNow();

    auto events = DeviceEventLog::shared().take();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0], Value::dictionary({{"openURL", "twitter://user?screen_name=corvale"}}));
    EXPECT_EQ(events[1], Value::dictionary({{"openURL", "reddit:///u/corvale"}, {"opened", false}}));
    EXPECT_EQ(events[2]["openURL"].asString(), "https://halcyra.dev/?src=twkprefsnav");
    EXPECT_EQ(events[3], Value::dictionary({{"respring", Value::dictionary({{"via", "UIApplication"}})}}));
    EXPECT_TRUE(DeviceEventLog::shared().take().empty()) << "take empties the log";

    platform::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(answered);
    EXPECT_TRUE(answer);
}

TEST(UIApplication, AnswersMessagesByNameIncludingMethodsAHostAdds) {
    UIKitStateGuard guard;
    auto application = UIApplication::sharedApplication();
    Class applicationClass = objc_getClass("UIApplication");
    ASSERT_NE(applicationClass, nullptr);
    EXPECT_EQ(application->getClass(), applicationClass);

    // What the Settings host does: the application object learns generateURL at run time.
    int generated = 0;
    class_addMethod(applicationClass, "generateURL",
                    [&generated](const id&, const MessageArguments&) -> MessageValue {
                        ++generated;
                        return "prefs:root=Corvale";
                    });
    EXPECT_EQ(objc_msgSend(application, "generateURL").value().asString(), "prefs:root=Corvale");
    EXPECT_EQ(generated, 1);
    class_replaceMethod(applicationClass, "generateURL",
                        [](const id&, const MessageArguments&) { return MessageValue(); });

    objc_msgSend(application, "_relaunchSpringBoardNow");
    auto events = DeviceEventLog::shared().take();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]["respring"]["via"].asString(), "UIApplication");
}

TEST(UIApplication, KeyWindowFollowsMakeKeyAndVisible) {
    auto application = UIApplication::sharedApplication();
    auto first = std::make_shared<UIWindow>();
    auto second = std::make_shared<UIWindow>();
    EXPECT_TRUE(first->isHidden());
    first->makeKeyAndVisible();
    EXPECT_TRUE(first->isKeyWindow());
    second->makeKeyAndVisible();
    EXPECT_EQ(application->keyWindow(), second);
    EXPECT_FALSE(first->isKeyWindow());
    auto windows = application->windows();
    EXPECT_NE(std::find(windows.begin(), windows.end(), first), windows.end());
    second->setHidden(true);
    EXPECT_EQ(application->keyWindow(), nullptr);
    windows = application->windows();
    EXPECT_EQ(std::find(windows.begin(), windows.end(), second), windows.end());
    EXPECT_NE(std::find(windows.begin(), windows.end(), first), windows.end());
}

TEST(NSIndexPath, OrdersBySectionThenRow) {
    auto a = NSIndexPath::indexPathForRow(5, 0);
    auto b = NSIndexPath::indexPathForRow(0, 1);
    auto c = NSIndexPath::indexPathForRow(1, 1);
    EXPECT_EQ(a->compare(b), -1);
    EXPECT_EQ(c->compare(b), 1);
    EXPECT_EQ(b->compare(NSIndexPath::indexPathForRow(0, 1)), 0);
    EXPECT_TRUE(b->isEqual(NSIndexPath::indexPathForRow(0, 1)));
    EXPECT_FALSE(b->isEqual(nullptr));
    EXPECT_EQ(a->compare(nullptr), 1);
    EXPECT_EQ(a->section(), 0);
    EXPECT_EQ(a->row(), 5);
    EXPECT_NE(a->description().find("path = 0 - 5"), std::string::npos);
}

} // namespace
