#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/corefoundation/DarwinNotificationLog.h"
#include "platform/corefoundation/PreferencesStore.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/ResetForTesting.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/foundation/Value.h"
#include "platform/preferences/PSSpecifier.h"
#include "tests/support/TemporaryDeviceRoot.h"
#include "platform/uikit/AppearanceRegistry.h"
#include "platform/uikit/DeviceEventLog.h"
#include "platform/uikit/NSIndexPath.h"

// Failures show values as the logs print them.
inline void PrintTo(const Value& value, std::ostream* stream) {
    *stream << value.description();
}

// A device with the pane's preferences bundle "Pane.bundle" (tweak name "Tweak"), into which a test
// writes the tweak list and sub-page lists, and pages opened on it the way Settings opens them.
class PaneFixture : public ::testing::Test {
protected:
    static constexpr std::string_view bundlePath = "/Library/PreferenceBundles/Pane.bundle";
    static constexpr std::string_view domain = "dev.example.tweak";

    void SetUp() override {
        platform::resetForTesting();
        // The root page fetches credits as it loads: a closed loopback port keeps it on the machine.
        if (const char* server = std::getenv("CORVALE_CREDITS_SERVER"))
            previousServer = server;
        setenv("CORVALE_CREDITS_SERVER", "http://127.0.0.1:9", 1);
        writeValue(std::string(bundlePath) + "/Info.plist",
                   Value::dictionary({{"CFBundleIdentifier", "dev.example.pane"},
                                      {"KVTweakName", "Tweak"},
                                      {"KVTweakVersion", "2.1"}}));
    }
    void TearDown() override {
        platform::resetForTesting();
        if (previousServer)
            setenv("CORVALE_CREDITS_SERVER", previousServer->c_str(), 1);
        else
            unsetenv("CORVALE_CREDITS_SERVER");
    }

    void writeValue(const std::string& devicePath, const Value& value) {
        auto xml = platform::PropertyList::toXML(value);
        ASSERT_TRUE(xml.has_value());
        root.writeFile(devicePath, *xml);
    }
    // "<bundle>/<name>.plist" with these rows under "items" and any extra top-level keys.
    void writeList(std::string_view name, Value::Array rows, Value extra = Value::dictionary()) {
        extra.set("items", Value(std::move(rows)));
        writeValue(std::string(bundlePath) + "/" + std::string(name) + ".plist", extra);
    }

    // A page of type T opened by a row naming the bundle "Pane", as the root page is.
    template <class T> std::shared_ptr<T> openPage() {
        auto page = std::make_shared<T>();
        auto opening =
            PSSpecifier::preferenceSpecifierNamed("Tweak", nullptr, "", "", nullptr, PSLinkCell, nullptr);
        opening->setProperty(Value("Pane"), "bundle");
        page->setSpecifier(opening);
        page->setBundle(NSBundle::bundleWithPath(bundlePath));
        return page;
    }

    static Value switchRow(std::string label, std::string key, bool defaultValue) {
        return Value::dictionary({{"cell", "PSSwitchCell"},
                                  {"label", std::move(label)},
                                  {"key", std::move(key)},
                                  {"defaults", std::string(domain)},
                                  {"default", defaultValue}});
    }
    static Value withKey(Value row, std::string key, Value value) {
        row.set(std::move(key), std::move(value));
        return row;
    }
    static std::shared_ptr<NSIndexPath> at(long row, long section = 0) {
        return NSIndexPath::indexPathForRow(row, section);
    }

    TemporaryDeviceRoot root;
    std::optional<std::string> previousServer;
};
