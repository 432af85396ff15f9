#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/corefoundation/CFPreferences.h"
#include "platform/corefoundation/PreferencesStore.h"
#include "platform/foundation/ResetForTesting.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/SimulatedDevice.h"
#include "tests/support/TemporaryDeviceRoot.h"

namespace {

constexpr std::string_view app = "com.example.tweak";
constexpr std::string_view appPlist = "/var/mobile/Library/Preferences/com.example.tweak.plist";

class CFPreferencesTest : public ::testing::Test {
protected:
    void SetUp() override { platform::resetForTesting(); }
    void TearDown() override { platform::resetForTesting(); }

    // What a freshly started process would read.
    static Value readAfterRestart(std::string_view key, std::string_view applicationID = app) {
        platform::PreferencesStore::shared().resetForNewProcess();
        return CFPreferencesCopyAppValue(key, applicationID);
    }

    static std::size_t plistFilesUnder(const std::filesystem::path& folder) {
        std::size_t count = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
            count += entry.path().extension() == ".plist";
        return count;
    }

    TemporaryDeviceRoot root;
};

TEST_F(CFPreferencesTest, SetReadAndRemoveValues) {
    EXPECT_TRUE(CFPreferencesCopyAppValue("enabled", app).isNull());

    CFPreferencesSetAppValue("enabled", true, app);
    CFPreferencesSetAppValue("count", 42, app);
    CFPreferencesSetAppValue("name", "Corvale", app);
    CFPreferencesSetAppValue("colours", Value::array({"red", 1.5}), app);
    EXPECT_EQ(CFPreferencesCopyAppValue("enabled", app), Value(true));
    EXPECT_EQ(CFPreferencesCopyAppValue("count", app).integerValue(), 42);
    EXPECT_EQ(CFPreferencesCopyAppValue("name", app).asString(), "Corvale");
    EXPECT_EQ(CFPreferencesCopyAppValue("colours", app), Value::array({"red", 1.5}));

    // A property list cannot hold a null, so such a value is dropped and the old one stays.
    CFPreferencesSetAppValue("colours", Value::array({"blue", nullptr}), app);
    EXPECT_EQ(CFPreferencesCopyAppValue("colours", app), Value::array({"red", 1.5}));

    CFPreferencesSetAppValue("count", nullptr, app);
    EXPECT_TRUE(CFPreferencesCopyAppValue("count", app).isNull());
    ASSERT_TRUE(CFPreferencesAppSynchronize(app));

    EXPECT_TRUE(readAfterRestart("count").isNull());
    EXPECT_EQ(readAfterRestart("name").asString(), "Corvale");
    EXPECT_EQ(readAfterRestart("colours"), Value::array({"red", 1.5}));

    // A removal reaches the disk too, not only the in-memory copy.
    CFPreferencesSetAppValue("name", nullptr, app);
    ASSERT_TRUE(CFPreferencesAppSynchronize(app));
    EXPECT_TRUE(readAfterRestart("name").isNull());
}

TEST_F(CFPreferencesTest, AppValuesFallBackToTheGlobalDomain) {
    CFPreferencesSetAppValue("AppleLanguages", Value::array({"en"}), kCFPreferencesAnyApplication);
    CFPreferencesSetAppValue("shared", "global", kCFPreferencesAnyApplication);
    CFPreferencesSetAppValue("shared", "mine", app);
    EXPECT_EQ(CFPreferencesCopyAppValue("AppleLanguages", app), Value::array({"en"}));
    EXPECT_EQ(CFPreferencesCopyAppValue("shared", app).asString(), "mine");
    // The exact-domain accessor does not search.
    EXPECT_TRUE(
        CFPreferencesCopyValue("AppleLanguages", app, kCFPreferencesCurrentUser, kCFPreferencesAnyHost)
            .isNull());

    ASSERT_TRUE(CFPreferencesAppSynchronize(kCFPreferencesAnyApplication));
    EXPECT_TRUE(
        std::filesystem::exists(root.hostPath("/var/mobile/Library/Preferences/.GlobalPreferences.plist")));
}

TEST_F(CFPreferencesTest, CurrentApplicationIsTheHostsIdentifier) {
    auto previous = platform::SimulatedDevice::applicationIdentifier();
    platform::SimulatedDevice::setApplicationIdentifier("com.apple.springboard");
    CFPreferencesSetAppValue("lastLaunch", 7, kCFPreferencesCurrentApplication);
    EXPECT_EQ(CFPreferencesCopyAppValue("lastLaunch", "com.apple.springboard").integerValue(), 7);
    ASSERT_TRUE(CFPreferencesAppSynchronize(kCFPreferencesCurrentApplication));
    EXPECT_EQ(platform::PropertyList::readFile("/var/mobile/Library/Preferences/com.apple.springboard.plist")
                  .value_or(Value()),
              Value::dictionary({{"lastLaunch", 7}}));

    // A process that plays no application has no current-application domain.
    platform::SimulatedDevice::setApplicationIdentifier("");
    CFPreferencesSetAppValue("lastLaunch", 8, kCFPreferencesCurrentApplication);
    EXPECT_TRUE(CFPreferencesCopyAppValue("lastLaunch", kCFPreferencesCurrentApplication).isNull());
    EXPECT_FALSE(CFPreferencesAppSynchronize(kCFPreferencesCurrentApplication));
    platform::SimulatedDevice::setApplicationIdentifier(previous);
}

TEST_F(CFPreferencesTest, MultipleValuesAndKeyLists) {
    auto user = kCFPreferencesCurrentUser;
    auto host = kCFPreferencesAnyHost;
    EXPECT_TRUE(CFPreferencesCopyKeyList(app, user, host).isNull());
    EXPECT_EQ(CFPreferencesCopyMultiple(nullptr, app, user, host), Value::dictionary());

    CFPreferencesSetMultiple(Value::dictionary({{"b", 2}, {"a", 1}, {"gone", true}, {"c", "three"}}), nullptr,
                             app, user, host);
    // Removals come after the sets, so a key in both ends up removed.
    CFPreferencesSetMultiple(Value::dictionary({{"d", 4}, {"c", "replaced"}}), Value::array({"gone", "d", 7}),
                             app, user, host);
    EXPECT_EQ(CFPreferencesCopyKeyList(app, user, host), Value::array({"a", "b", "c"}));
    EXPECT_EQ(CFPreferencesCopyMultiple(Value::array({"a", "c", "missing", 5}), app, user, host),
              Value::dictionary({{"a", 1}, {"c", "replaced"}}));
    EXPECT_EQ(CFPreferencesCopyMultiple(nullptr, app, user, host),
              Value::dictionary({{"a", 1}, {"b", 2}, {"c", "replaced"}}));

    // Other users and hosts are other files.
    CFPreferencesSetValue("host", "only", app, user, kCFPreferencesCurrentHost);
    CFPreferencesSetValue("system", "wide", app, kCFPreferencesAnyUser, host);
    EXPECT_TRUE(CFPreferencesCopyValue("host", app, user, host).isNull());
    EXPECT_EQ(CFPreferencesCopyValue("host", app, user, kCFPreferencesCurrentHost).asString(), "only");
    EXPECT_TRUE(CFPreferencesCopyValue("system", app, user, host).isNull());
    ASSERT_TRUE(CFPreferencesSynchronize(app, user, kCFPreferencesCurrentHost));
    ASSERT_TRUE(CFPreferencesSynchronize(app, kCFPreferencesAnyUser, host));
    EXPECT_TRUE(std::filesystem::exists(
        root.hostPath("/var/mobile/Library/Preferences/ByHost/com.example.tweak.plist")));
    EXPECT_TRUE(std::filesystem::exists(root.hostPath("/Library/Preferences/com.example.tweak.plist")));
    EXPECT_FALSE(std::filesystem::exists(root.hostPath(appPlist)));
}

TEST_F(CFPreferencesTest, WritesReachTheDiskOnlyWhenSynchronisedAndReplaceTheFileWhole) {
    CFPreferencesSetAppValue("enabled", true, app);
    CFPreferencesSetAppValue("tint", Value::dictionary({{"red", 0.5}}), app);
    EXPECT_FALSE(std::filesystem::exists(root.hostPath(appPlist)));

    // The preferences folder does not exist yet on this fresh device.
    ASSERT_TRUE(CFPreferencesAppSynchronize(app));
    std::string written = root.readFile(appPlist);
    EXPECT_EQ(written.rfind("<?xml", 0), 0u) << written;
    auto parsed = platform::PropertyList::readFile(appPlist);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, Value::dictionary({{"enabled", true}, {"tint", Value::dictionary({{"red", 0.5}})}}));

    // A reader holding the old file keeps a whole old file: the new one is renamed into place,
    // never written over the old bytes.
    auto heldCopy = root.hostPath("/var/mobile/held.plist");
    std::filesystem::create_hard_link(root.hostPath(appPlist), heldCopy);
    CFPreferencesSetAppValue("enabled", false, app);
    EXPECT_EQ(root.readFile(appPlist), written);
    ASSERT_TRUE(CFPreferencesAppSynchronize(app));
    EXPECT_EQ(root.readFile("/var/mobile/held.plist"), written);
    EXPECT_EQ(platform::PropertyList::readFile(appPlist).value_or(Value())["enabled"], Value(false));

    // The domain and the lock file that writers of the domain take turns on, nothing else.
    auto folder = root.hostPath("/var/mobile/Library/Preferences");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    const std::string domainName = root.hostPath(appPlist).filename().string();
    EXPECT_EQ(names, (std::vector<std::string>{domainName, domainName + ".lock"}))
        << "temporary files left behind";
}

TEST_F(CFPreferencesTest, FailedWriteIsReportedAndRetried) {
    // A file where the preferences folder should be makes the write impossible.
    root.writeFile("/var/mobile/Library/Preferences", "not a folder");
    CFPreferencesSetAppValue("enabled", true, app);
    EXPECT_FALSE(CFPreferencesAppSynchronize(app));
    EXPECT_EQ(CFPreferencesCopyAppValue("enabled", app), Value(true));

    std::filesystem::remove(root.hostPath("/var/mobile/Library/Preferences"));
    ASSERT_TRUE(CFPreferencesAppSynchronize(app));
    EXPECT_EQ(readAfterRestart("enabled"), Value(true));
}

TEST_F(CFPreferencesTest, CorruptDomainReadsEmptyAndIsNeverReplaced) {
    const std::string garbage = "\x01\x02 this is not a property list <dict>";
    const std::string arrayPlist =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><array>"
        "<string>x</string></array></plist>";
    for (const auto& contents : {garbage, arrayPlist}) {
        SCOPED_TRACE(contents);
        platform::PreferencesStore::shared().resetForNewProcess();
        root.writeFile(appPlist, contents);

        EXPECT_TRUE(CFPreferencesCopyAppValue("x", app).isNull());
        EXPECT_TRUE(CFPreferencesCopyKeyList(app, kCFPreferencesCurrentUser, kCFPreferencesAnyHost).isNull());
        // Removing what is not there is no change either.
        CFPreferencesSetAppValue("x", nullptr, app);
        EXPECT_TRUE(CFPreferencesAppSynchronize(app));
        EXPECT_TRUE(CFPreferencesAppSynchronize(app));
        EXPECT_EQ(root.readFile(appPlist), contents);

        // A change is not written over what could not be read: the values there may be a user's.
        testing::internal::CaptureStderr();
        CFPreferencesSetAppValue("fresh", 1, app);
        EXPECT_FALSE(CFPreferencesAppSynchronize(app));
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(root.readFile(appPlist), contents);
    }
}

TEST_F(CFPreferencesTest, DomainNamesThatEscapeThePreferencesFolderAreRefused) {
    // A real file next door that "../" would reach.
    root.writeFile("/var/mobile/Library/victim.plist", "untouched");
    const std::string_view refusedNames[] = {"../victim", "../../Library/victim",          "sub/dir", "", ".",
                                             "..",        std::string_view("nul\0byte", 8)};
    for (auto name : refusedNames) {
        SCOPED_TRACE(std::string(name));
        CFPreferencesSetAppValue("key", "value", name);
        CFPreferencesSetMultiple(Value::dictionary({{"k", 1}}), nullptr, name, kCFPreferencesCurrentUser,
                                 kCFPreferencesAnyHost);
        EXPECT_TRUE(CFPreferencesCopyAppValue("key", name).isNull());
        EXPECT_TRUE(
            CFPreferencesCopyKeyList(name, kCFPreferencesCurrentUser, kCFPreferencesAnyHost).isNull());
        EXPECT_EQ(CFPreferencesCopyMultiple(nullptr, name, kCFPreferencesCurrentUser, kCFPreferencesAnyHost),
                  Value::dictionary());
        EXPECT_FALSE(CFPreferencesAppSynchronize(name));
    }
    // A user the device does not have is refused the same way.
    CFPreferencesSetValue("key", "value", app, "nobody", kCFPreferencesAnyHost);
    EXPECT_FALSE(CFPreferencesSynchronize(app, "nobody", kCFPreferencesAnyHost));

    EXPECT_EQ(root.readFile("/var/mobile/Library/victim.plist"), "untouched");
    EXPECT_EQ(plistFilesUnder(root.path()), 1u);
}

} // namespace
