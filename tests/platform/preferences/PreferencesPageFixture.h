#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "platform/corefoundation/DarwinNotificationLog.h"
#include "platform/corefoundation/PreferencesStore.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/ResetForTesting.h"
#include "platform/foundation/Value.h"
#include "platform/preferences/PSListController.h"
#include "tests/support/TemporaryDeviceRoot.h"

// A fresh device with one preferences bundle, into which a test writes its lists.
class PreferencesPageFixture : public ::testing::Test {
protected:
    static constexpr std::string_view bundlePath = "/Library/PreferenceBundles/Fixture.bundle";

    void SetUp() override {
        platform::resetForTesting();
        writeValue(std::string(bundlePath) + "/Info.plist",
                   Value::dictionary({{"CFBundleIdentifier", "dev.example.fixture"}}));
        bundle = NSBundle::bundleWithPath(bundlePath);
        ASSERT_NE(bundle, nullptr);
    }
    void TearDown() override { platform::resetForTesting(); }

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

    // A page of type T on the fixture bundle whose rows are the list `name`.
    template <class T = PSListController> std::shared_ptr<T> pageShowing(std::string_view name) {
        auto page = std::make_shared<T>();
        page->setBundle(bundle);
        page->setSpecifiers(page->loadSpecifiersFromPlistName(name, page, bundle));
        return page;
    }

    TemporaryDeviceRoot root;
    std::shared_ptr<NSBundle> bundle;
};
