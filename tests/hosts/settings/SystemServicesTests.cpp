// The platform services the host registers, called by name the way the pane calls them.
#include <gtest/gtest.h>

#include "platform/corefoundation/CFPreferences.h"
#include "platform/foundation/NSSet.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/ResetForTesting.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/runtime/ObjCRuntime.h"
#include "hosts/settings/SystemServices.h"
#include "tests/support/TemporaryDeviceRoot.h"
#include "platform/uikit/DeviceEventLog.h"
#include "platform/uikit/UIApplication.h"

using corvale::settingshost::SystemServices;

namespace {

class SystemServicesTest : public testing::Test {
protected:
    void SetUp() override {
        SystemServices::registerClasses({});
        platform::resetForTesting();
    }

    static id send(const id& action) {
        id service = objc_msgSendClass(objc_getClass("FBSSystemService"), "sharedService").object();
        objc_msgSend(service, "sendActions:withResult:", {MessageValue(NSSet::setWithObject(action)), {}});
        return service;
    }
};

} // namespace

TEST_F(SystemServicesTest, RestartActionsReachTheDeviceLogWithTheirDetails) {
    EXPECT_TRUE(objc_getClass("PreferencesAppController"));
    auto target = NSURL::URLWithString("prefs:root=Corvale&path=A");
    id relaunch = objc_msgSendClass(objc_getClass("SBSRelaunchAction"), "actionWithReason:options:targetURL:",
                                    {Value("RestartRenderServer"), Value(4), MessageValue(target)})
                      .object();
    id restart = objc_msgSendClass(objc_getClass("SBSRestartRenderServerAction"),
                                   "restartActionWithTargetRelaunchURL:", {MessageValue()})
                     .object();
    ASSERT_TRUE(relaunch && restart);
    EXPECT_STREQ(object_getClassName(relaunch), "SBSRelaunchAction");

    id firstService = send(relaunch);
    EXPECT_EQ(send(restart), firstService);
    // Something that is no restart action is not a restart.
    send(std::make_shared<NSObject>());

    auto events = platform::DeviceEventLog::shared().take();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]["respring"], Value::dictionary({{"via", "FBSSystemService"},
                                                        {"reason", "RestartRenderServer"},
                                                        {"options", 4},
                                                        {"targetURL", "prefs:root=Corvale&path=A"}}));
    EXPECT_EQ(events[1]["respring"], Value::dictionary({{"via", "FBSSystemService"},
                                                        {"reason", Value()},
                                                        {"options", Value()},
                                                        {"targetURL", Value()}}));
}

TEST_F(SystemServicesTest, GenerateURLStoresThePositionInTheCurrentApplicationsPreferences) {
    TemporaryDeviceRoot root;
    platform::SimulatedDevice::setApplicationIdentifier("com.apple.Preferences");
    std::string position = "prefs:root=Corvale";
    SystemServices::installGenerateURL([&position] { return position; });

    objc_msgSend(UIApplication::sharedApplication(), "generateURL");
    EXPECT_EQ(CFPreferencesCopyAppValue("kPreferencePositionKey", kCFPreferencesCurrentApplication),
              Value("prefs:root=Corvale"));
    // Written through to the domain on disk, where a restarted app would read it.
    EXPECT_NE(root.readFile("/var/mobile/Library/Preferences/com.apple.Preferences.plist")
                  .find("prefs:root=Corvale"),
              std::string::npos);

    position.clear();
    objc_msgSend(UIApplication::sharedApplication(), "generateURL");
    EXPECT_TRUE(
        CFPreferencesCopyAppValue("kPreferencePositionKey", kCFPreferencesCurrentApplication).isNull());
    SystemServices::installGenerateURL(nullptr);
}
