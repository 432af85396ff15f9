#include <gtest/gtest.h>

#include <memory>

#include "platform/corefoundation/CFPreferences.h"
#include "platform/corefoundation/DarwinNotificationLog.h"
#include "platform/foundation/ManualClock.h"
#include "platform/foundation/MediaClock.h"
#include "platform/foundation/ResetForTesting.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/uikit/AppearanceRegistry.h"
#include "platform/uikit/DeviceEventLog.h"
#include "platform/uikit/UIColor.h"
#include "tests/support/TemporaryDeviceRoot.h"

namespace {

using platform::SimulatedDevice;

TEST(ResetForTesting, TheDeviceIsAsANewProcessFindsIt) {
    const auto defaultVersion = SimulatedDevice::osVersion();
    SimulatedDevice::setOSVersion({12, 4, 0});
    SimulatedDevice::setApplicationIdentifier("com.apple.Preferences");
    SimulatedDevice::setScreenScale(2);
    SimulatedDevice::setAppearance(SimulatedDevice::Appearance::Dark);
    SimulatedDevice::setScreenSize({800, 600});
    SimulatedDevice::setHorizontalSizeClass(SimulatedDevice::SizeClass::Regular);
    SimulatedDevice::setInstalledURLSchemes({"twitter"});

    platform::resetForTesting();
    EXPECT_EQ(SimulatedDevice::osVersion().majorVersion, defaultVersion.majorVersion);
    EXPECT_EQ(SimulatedDevice::osVersion().minorVersion, defaultVersion.minorVersion);
    EXPECT_EQ(SimulatedDevice::applicationIdentifier(), "");
    EXPECT_EQ(SimulatedDevice::appearance(), SimulatedDevice::Appearance::Light);
    EXPECT_EQ(SimulatedDevice::screenSize().width, 390);
    EXPECT_EQ(SimulatedDevice::screenSize().height, 844);
    EXPECT_EQ(SimulatedDevice::horizontalSizeClass(), SimulatedDevice::SizeClass::Compact);
    EXPECT_TRUE(SimulatedDevice::installedURLSchemes().empty());
    EXPECT_NE(SimulatedDevice::screenScale(), 2.0) << "back to the default (or the environment's) scale";
}

TEST(ResetForTesting, LogsRecordedValuesAndTheClockStartOver) {
    platform::DeviceEventLog::shared().record(Value::dictionary({{"openURL", "https://example.org"}}));
    platform::DarwinNotificationLog::shared().record("dev.example.changed");
    Class switchClass = objc_getClass("UISwitch");
    platform::AppearanceRegistry::shared().setValue(switchClass, {}, "onTintColor", UIColor::whiteColor());
    auto clock = std::make_shared<platform::ManualClock>(5000);
    platform::setMediaClock(clock);

    platform::resetForTesting();
    EXPECT_TRUE(platform::DeviceEventLog::shared().events().empty());
    EXPECT_TRUE(platform::DarwinNotificationLog::shared().takePosted().empty());
    EXPECT_EQ(platform::AppearanceRegistry::shared().value(switchClass, {}, "onTintColor"), nullptr);
    EXPECT_NE(platform::currentMediaClock(), clock);
}

TEST(ResetForTesting, UnsynchronisedPreferencesAreForgottenAndSynchronisedOnesKept) {
    TemporaryDeviceRoot root;
    CFPreferencesSetAppValue("kept", Value(1), "dev.example.reset");
    ASSERT_TRUE(CFPreferencesAppSynchronize("dev.example.reset"));
    CFPreferencesSetAppValue("pending", Value(2), "dev.example.reset");

    platform::resetForTesting();
    EXPECT_EQ(CFPreferencesCopyAppValue("kept", "dev.example.reset"), Value(1));
    EXPECT_TRUE(CFPreferencesCopyAppValue("pending", "dev.example.reset").isNull());
}

} // namespace
