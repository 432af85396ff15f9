#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSURL.h"
#include "platform/runtime/ObjCRuntime.h"
#include "tests/support/TemporaryDeviceRoot.h"

namespace {

// An Info.plist whose dictionary holds the given string entries.
std::string infoPlist(std::initializer_list<std::pair<std::string, std::string>> entries) {
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                      "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                      "<plist version=\"1.0\">\n<dict>\n";
    for (const auto& [key, value] : entries)
        xml += "\t<key>" + key + "</key>\n\t<string>" + value + "</string>\n";
    return xml + "</dict>\n</plist>\n";
}

constexpr const char* bundlePath = "/Library/PreferenceBundles/Fixture.bundle";

} // namespace

TEST(NSBundle, NeedsAFolderWithADictionaryInfoPlist) {
    TemporaryDeviceRoot root;
    EXPECT_FALSE(NSBundle::bundleWithPath("/Library/Missing.bundle"));

    std::filesystem::create_directories(root.hostPath("/Library/Empty.bundle"));
    EXPECT_FALSE(NSBundle::bundleWithPath("/Library/Empty.bundle"));

    root.writeFile("/Library/Array.bundle/Info.plist",
                   "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>x</string></array></plist>");
    EXPECT_FALSE(NSBundle::bundleWithPath("/Library/Array.bundle"));

    root.writeFile("/Library/Broken.bundle/Info.plist", "<plist><dict><key>a</key>");
    EXPECT_FALSE(NSBundle::bundleWithPath("/Library/Broken.bundle"));

    // A file named like a bundle is not one.
    root.writeFile("/Library/File.bundle", infoPlist({}));
    EXPECT_FALSE(NSBundle::bundleWithPath("/Library/File.bundle"));
    EXPECT_FALSE(NSBundle::bundleWithURL(NSURL::URLWithString("https://127.0.0.1/Library/Array.bundle")));
    EXPECT_FALSE(NSBundle::bundleWithURL(nullptr));
}

TEST(NSBundle, DescribesItselfAndFindsResources) {
    TemporaryDeviceRoot root;
    root.writeFile(
        std::string(bundlePath) + "/Info.plist",
        infoPlist({{"CFBundleIdentifier", "com.example.fixture"}, {"CFBundleDevelopmentRegion", "fr"}}));
    root.writeFile(std::string(bundlePath) + "/Root.plist", "root");
    root.writeFile(std::string(bundlePath) + "/icon@2x.png", "png");
    root.writeFile(std::string(bundlePath) + "/fr.lproj/Root.strings", "fr");
    root.writeFile(std::string(bundlePath) + "/Base.lproj/Credits.plist", "base");
    root.writeFile(std::string(bundlePath) + "/Base.lproj/Root.plist", "shadowed");

    auto bundle = NSBundle::bundleWithPath("/Library/PreferenceBundles/../PreferenceBundles/Fixture.bundle/");
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->bundlePath(), bundlePath);
    EXPECT_EQ(bundle->bundleURL()->absoluteString(), "file:///Library/PreferenceBundles/Fixture.bundle/");
    EXPECT_EQ(bundle->bundleIdentifier(), "com.example.fixture");
    EXPECT_EQ(bundle->objectForInfoDictionaryKey("CFBundleDevelopmentRegion").stringValue(), "fr");
    EXPECT_TRUE(bundle->objectForInfoDictionaryKey("Missing").isNull());
    EXPECT_TRUE(bundle->infoDictionary().isDictionary());

    // The same folder, however it is named, is the same bundle.
    EXPECT_EQ(NSBundle::bundleWithPath(bundlePath), bundle);
    EXPECT_EQ(NSBundle::bundleWithURL(NSURL::fileURLWithPath(bundlePath)), bundle);

    std::string base(bundlePath);
    EXPECT_EQ(bundle->pathForResource("Root", "plist"), base + "/Root.plist");
    EXPECT_EQ(bundle->pathForResource("Root", ".plist"), base + "/Root.plist");
    EXPECT_EQ(bundle->pathForResource("Root.plist", ""), base + "/Root.plist");
    EXPECT_EQ(bundle->pathForResource("icon@2x", "png"), base + "/icon@2x.png");
    EXPECT_EQ(bundle->pathForResource("Root", "strings"), base + "/fr.lproj/Root.strings");
    EXPECT_EQ(bundle->pathForResource("Credits", "plist"), base + "/Base.lproj/Credits.plist");
    EXPECT_FALSE(bundle->pathForResource("Root", "json"));
    EXPECT_FALSE(bundle->pathForResource("Root", ""));
    EXPECT_FALSE(bundle->pathForResource("", "plist"));
    EXPECT_EQ(bundle->URLForResource("icon@2x", "png")->path(), base + "/icon@2x.png");
    EXPECT_FALSE(bundle->URLForResource("nothing", "png"));
}

TEST(NSBundle, CacheHandsOutOneBundlePerFolderAcrossThreads) {
    TemporaryDeviceRoot root;
    root.writeFile(std::string(bundlePath) + "/Info.plist", infoPlist({{"CFBundleIdentifier", "x"}}));
    std::vector<std::shared_ptr<NSBundle>> seen(8);
    std::vector<std::thread> threads;
    for (std::size_t index = 0; index < seen.size(); ++index)
        threads.emplace_back([&seen, index] { seen[index] = NSBundle::bundleWithPath(bundlePath); });
    for (auto& thread : threads)
        thread.join();
    ASSERT_TRUE(seen[0]);
    for (const auto& bundle : seen)
        EXPECT_EQ(bundle, seen[0]);
}

TEST(NSBundle, LoadsItsModuleAndFindsThePrincipalClass) {
    TemporaryDeviceRoot root;
    std::string base(bundlePath);
    root.writeFile(base + "/Info.plist", infoPlist({{"CFBundleExecutable", "Fixture"},
                                                    {"NSPrincipalClass", "FixtureModulePrincipal"}}));
    std::filesystem::copy_file(CORVALE_BUNDLE_FIXTURE_MODULE, root.hostPath(base + "/Fixture"));

    EXPECT_FALSE(objc_getClass("FixtureModulePrincipal"));
    auto bundle = NSBundle::bundleWithPath(bundlePath);
    ASSERT_TRUE(bundle);
    EXPECT_FALSE(bundle->isLoaded());

    Class principal = bundle->principalClass();
    ASSERT_TRUE(principal);
    EXPECT_TRUE(bundle->isLoaded());
    EXPECT_STREQ(class_getName(principal), "FixtureModulePrincipal");
    EXPECT_EQ(objc_getClass("FixtureModulePrincipal"), principal);
    id instance = class_createInstance(principal);
    ASSERT_TRUE(instance);
    EXPECT_EQ(instance->getClass(), principal);
    EXPECT_TRUE(bundle->load());
}

TEST(NSBundle, LoadFailsAndSaysWhy) {
    TemporaryDeviceRoot root;
    platform::LogCapture log;

    root.writeFile("/Library/NoKey.bundle/Info.plist", infoPlist({{"NSPrincipalClass", "NSObject"}}));
    auto noKey = NSBundle::bundleWithPath("/Library/NoKey.bundle");
    ASSERT_TRUE(noKey);
    EXPECT_FALSE(noKey->load());
    EXPECT_FALSE(noKey->principalClass());

    root.writeFile("/Library/Missing.bundle/Info.plist", infoPlist({{"CFBundleExecutable", "Missing"}}));
    auto missing = NSBundle::bundleWithPath("/Library/Missing.bundle");
    ASSERT_TRUE(missing);
    EXPECT_FALSE(missing->load());
    EXPECT_FALSE(missing->isLoaded());

    root.writeFile("/Library/Garbage.bundle/Info.plist", infoPlist({{"CFBundleExecutable", "Garbage"}}));
    root.writeFile("/Library/Garbage.bundle/Garbage", "not an ELF file");
    auto garbage = NSBundle::bundleWithPath("/Library/Garbage.bundle");
    ASSERT_TRUE(garbage);
    EXPECT_FALSE(garbage->load());
    EXPECT_FALSE(garbage->isLoaded());
    EXPECT_TRUE(log.contains("Garbage.bundle")) << "dlopen's reason should be logged";
    EXPECT_TRUE(log.contains("Missing.bundle"));
}
