#include <gtest/gtest.h>

#include "settings/engine/UIColorEasyDynamic.h"
#include "platform/foundation/ResetForTesting.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/runtime/ObjCRuntime.h"
#include "platform/uikit/UITraitCollection.h"

namespace {

struct Components {
    double red = -1, green = -1, blue = -1, alpha = -1;
};

Components componentsOf(const UIColorPtr& color) {
    Components components;
    if (color)
        color->getRed(&components.red, &components.green, &components.blue, &components.alpha);
    return components;
}

Components resolved(const UIColorPtr& color, UIUserInterfaceStyle style) {
    return componentsOf(color->resolvedColorWithTraitCollection(
        UITraitCollection::traitCollectionWithUserInterfaceStyle(style)));
}

class ColourStrings : public ::testing::Test {
protected:
    void SetUp() override { platform::resetForTesting(); }
    void TearDown() override { platform::resetForTesting(); }
};

TEST_F(ColourStrings, ReadsThreeComponentsWithTheFloatValueRule) {
    auto color = componentsOf(UIColorEasyDynamic::_colorFromKVString("0.47:0.53:0.97"));
    // Components are 32-bit floats, as the platform's floatValue reads them.
    EXPECT_EQ(color.red, static_cast<double>(0.47f));
    EXPECT_EQ(color.green, static_cast<double>(0.53f));
    EXPECT_EQ(color.blue, static_cast<double>(0.97f));
    EXPECT_EQ(color.alpha, 1.0);

    auto extra = componentsOf(UIColorEasyDynamic::_colorFromKVString("0.1:0.2:0.3:0.4:junk"));
    EXPECT_FLOAT_EQ(extra.blue, 0.3f);
    EXPECT_EQ(extra.alpha, 1.0);

    auto lenient = componentsOf(UIColorEasyDynamic::_colorFromKVString("  0.5abc:red:1e0"));
    EXPECT_FLOAT_EQ(lenient.red, 0.5f);
    EXPECT_EQ(lenient.green, 0.0);
    EXPECT_EQ(lenient.blue, 1.0);
}

TEST_F(ColourStrings, FewerThanThreeComponentsDescribeNoColour) {
    for (const char* text : {"", "1", "0.5:0.5", "0.2,0.4,0.6"})
        EXPECT_EQ(UIColorEasyDynamic::_colorFromKVString(text), nullptr) << text;
    // Empty components still count: they read as 0.
    EXPECT_NE(UIColorEasyDynamic::_colorFromKVString("::"), nullptr);
}

TEST_F(ColourStrings, ThemedColourHasItsDarkVariantFromThirteenOn) {
    const Value list = Value::dictionary({{"headerColour", "1:0:0"}, {"headerColour:dark", "0:0:1"}});

    platform::SimulatedDevice::setOSVersion({13, 0, 0});
    auto dynamic = UIColorEasyDynamic::colorForKey("headerColour", list);
    ASSERT_NE(dynamic, nullptr);
    EXPECT_TRUE(dynamic->isDynamic());
    EXPECT_EQ(resolved(dynamic, UIUserInterfaceStyle::Dark).blue, 1.0);
    EXPECT_EQ(resolved(dynamic, UIUserInterfaceStyle::Light).red, 1.0);
    EXPECT_EQ(resolved(dynamic, UIUserInterfaceStyle::Unspecified).red, 1.0);

    platform::SimulatedDevice::setOSVersion({12, 4, 0});
    auto light = UIColorEasyDynamic::colorForKey("headerColour", list);
    ASSERT_NE(light, nullptr);
    EXPECT_FALSE(light->isDynamic());
    EXPECT_EQ(resolved(light, UIUserInterfaceStyle::Dark).red, 1.0);
}

TEST_F(ColourStrings, ThemedColourNeedsAUsableLightString) {
    platform::SimulatedDevice::setOSVersion({14, 0, 0});
    const Value list = Value::dictionary({{"onlyDark:dark", "0:0:1"},
                                          {"broken", "1:0"},
                                          {"broken:dark", "0:0:1"},
                                          {"badDark", "0:1:0"},
                                          {"badDark:dark", "nope"},
                                          {"number", 1}});
    EXPECT_EQ(UIColorEasyDynamic::colorForKey("missing", list), nullptr);
    EXPECT_EQ(UIColorEasyDynamic::colorForKey("onlyDark", list), nullptr);
    EXPECT_EQ(UIColorEasyDynamic::colorForKey("broken", list), nullptr);
    EXPECT_EQ(UIColorEasyDynamic::colorForKey("number", list), nullptr);

    auto badDark = UIColorEasyDynamic::colorForKey("badDark", list);
    ASSERT_NE(badDark, nullptr);
    EXPECT_FALSE(badDark->isDynamic());
    EXPECT_EQ(componentsOf(badDark).green, 1.0);
}

TEST_F(ColourStrings, CategoryIsReachableThroughTheRuntime) {
    Class colorClass = objc_getClass("UIColor");
    auto parsed = objc_msgSendClass(colorClass, "_colorFromKVString:", {Value("0:1:0")}).objectAs<UIColor>();
    ASSERT_NE(parsed, nullptr);
    EXPECT_EQ(componentsOf(parsed).green, 1.0);
    EXPECT_TRUE(objc_msgSendClass(colorClass, "_colorFromKVString:", {Value("0:1")}).isNil());
    // Class methods are not instance methods.
    EXPECT_FALSE(class_respondsToSelector(colorClass, "_colorFromKVString:"));
}

} // namespace
