#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "platform/foundation/NSProcessInfo.h"
#include "platform/foundation/SimulatedDevice.h"

using platform::compareVersions;
using platform::parseVersion;

TEST(Versions, ParseOnlyWellFormedReleases) {
    EXPECT_EQ(parseVersion("13"), (NSOperatingSystemVersion{13, 0, 0}));
    EXPECT_EQ(parseVersion("12.4"), (NSOperatingSystemVersion{12, 4, 0}));
    EXPECT_EQ(parseVersion("13.4.1"), (NSOperatingSystemVersion{13, 4, 1}));
    EXPECT_EQ(parseVersion("014.01"), (NSOperatingSystemVersion{14, 1, 0}));
    EXPECT_EQ(parseVersion("9223372036854775807"), (NSOperatingSystemVersion{9223372036854775807, 0, 0}));

    for (const char* text : {"", "13.x", "1.2.3.4", "-1", "13.-4", "+13", "13.", ".4", "13..1", " 13", "13 ",
                             "9223372036854775808", "1.99999999999999999999", "13.4.1.", "v13"})
        EXPECT_FALSE(parseVersion(text)) << '"' << text << '"';
}

TEST(Versions, CompareMajorThenMinorThenPatch) {
    EXPECT_EQ(compareVersions({13, 0, 0}, {13, 0, 0}), 0);
    EXPECT_EQ(compareVersions({13, 0, 0}, {12, 9, 9}), 1);
    EXPECT_EQ(compareVersions({12, 9, 9}, {13, 0, 0}), -1);
    EXPECT_EQ(compareVersions({13, 4, 0}, {13, 10, 0}), -1); // numbers, not text
    EXPECT_EQ(compareVersions({13, 4, 1}, {13, 4, 0}), 1);
    EXPECT_EQ(compareVersions({13, 4, 0}, {13, 4, 1}), -1);
    EXPECT_EQ(platform::versionString({13, 4, 1}), "13.4.1");
    EXPECT_EQ(platform::versionString({14, 0, 0}), "14.0");
}

TEST(NSProcessInfo, ReportsTheSimulatedDevicesRelease) {
    auto previous = platform::SimulatedDevice::osVersion();
    auto& info = NSProcessInfo::processInfo();

    platform::SimulatedDevice::setOSVersion({12, 4, 0});
    EXPECT_EQ(info.operatingSystemVersion(), (NSOperatingSystemVersion{12, 4, 0}));
    EXPECT_TRUE(info.isOperatingSystemAtLeastVersion({12, 4, 0}));
    EXPECT_TRUE(info.isOperatingSystemAtLeastVersion({12, 0, 0}));
    EXPECT_FALSE(info.isOperatingSystemAtLeastVersion({12, 4, 1}));
    EXPECT_FALSE(info.isOperatingSystemAtLeastVersion({13, 0, 0}));
    EXPECT_EQ(info.operatingSystemVersionString(), "Version 12.4");

    // Readers on other threads see a whole version, never a mix of two.
    std::thread writer([] {
        for (int round = 0; round < 1000; ++round)
            platform::SimulatedDevice::setOSVersion(round % 2 ? NSOperatingSystemVersion{15, 1, 1}
                                                              : NSOperatingSystemVersion{12, 4, 0});
    });
    for (int round = 0; round < 1000; ++round) {
        auto seen = info.operatingSystemVersion();
        EXPECT_TRUE(seen == (NSOperatingSystemVersion{15, 1, 1}) ||
                    seen == (NSOperatingSystemVersion{12, 4, 0}));
    }
    writer.join();
    platform::SimulatedDevice::setOSVersion(previous);
}

TEST(NSProcessInfo, EnvironmentAndApplicationIdentifier) {
    ::setenv("CORVALE_PROCESS_INFO_TEST", "a=b", 1);
    auto environment = NSProcessInfo::processInfo().environment();
    EXPECT_EQ(environment["CORVALE_PROCESS_INFO_TEST"], "a=b");
    ::unsetenv("CORVALE_PROCESS_INFO_TEST");
    EXPECT_FALSE(NSProcessInfo::processInfo().environment().contains("CORVALE_PROCESS_INFO_TEST"));

    EXPECT_EQ(platform::SimulatedDevice::applicationIdentifier(), "");
    platform::SimulatedDevice::setApplicationIdentifier("com.apple.springboard");
    EXPECT_EQ(platform::SimulatedDevice::applicationIdentifier(), "com.apple.springboard");
    platform::SimulatedDevice::setApplicationIdentifier("");
}

// The version is chosen on first use, so each case runs in a fresh process of its own.
TEST(SimulatedDevice, DefaultVersionComesFromTheEnvironmentWhenValid) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto firstVersionWith = [](const char* environmentValue) {
        if (environmentValue)
            ::setenv("CORVALE_OS_VERSION", environmentValue, 1);
        else
            ::unsetenv("CORVALE_OS_VERSION");
        auto version = platform::SimulatedDevice::osVersion();
        std::exit(static_cast<int>(version.majorVersion * 10 + version.minorVersion));
    };
    EXPECT_EXIT(firstVersionWith(nullptr), testing::ExitedWithCode(140), "");
    EXPECT_EXIT(firstVersionWith("12.4"), testing::ExitedWithCode(124), "");
    EXPECT_EXIT(firstVersionWith("12.x"), testing::ExitedWithCode(140), "");
}
