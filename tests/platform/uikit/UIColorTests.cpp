#include <gtest/gtest.h>

#include "tests/platform/uikit/UIKitTestSupport.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UITraitCollection.h"

namespace {

using platform::SimulatedDevice;

struct RGBA {
    double red = -1, green = -1, blue = -1, alpha = -1;
};

RGBA components(const UIColorPtr& color) {
    RGBA result;
    EXPECT_TRUE(color->getRed(&result.red, &result.green, &result.blue, &result.alpha));
    return result;
}

UIColorPtr lightDark(const UIColorPtr& light, const UIColorPtr& dark) {
    return UIColor::colorWithDynamicProvider([light, dark](const UITraitCollectionPtr& traits) {
        return traits->userInterfaceStyle() == UIUserInterfaceStyle::Dark ? dark : light;
    });
}

TEST(UIColor, DynamicColourFollowsTheDeviceAppearanceAndExplicitTraits) {
    UIKitStateGuard guard;
    auto light = UIColor::colorWithRed(0.47, 0.53, 0.97, 1);
    auto dark = UIColor::colorWithRed(0.1, 0.2, 0.3, 1);
    auto themed = lightDark(light, dark);
    ASSERT_TRUE(themed->isDynamic());
    EXPECT_FALSE(light->isDynamic());

    SimulatedDevice::setAppearance(SimulatedDevice::Appearance::Light);
    EXPECT_DOUBLE_EQ(components(themed).red, 0.47);
    EXPECT_TRUE(themed->isEqual(light));
    SimulatedDevice::setAppearance(SimulatedDevice::Appearance::Dark);
    EXPECT_DOUBLE_EQ(components(themed).red, 0.1);
    EXPECT_TRUE(themed->isEqual(dark));
    EXPECT_FALSE(themed->isEqual(light));

    // A trait collection made current wins over the device; an explicit one wins over both.
    auto lightTraits = UITraitCollection::traitCollectionWithUserInterfaceStyle(UIUserInterfaceStyle::Light);
    auto darkTraits = UITraitCollection::traitCollectionWithUserInterfaceStyle(UIUserInterfaceStyle::Dark);
    lightTraits->performAsCurrentTraitCollection([&] { EXPECT_DOUBLE_EQ(components(themed).red, 0.47); });
    EXPECT_DOUBLE_EQ(components(themed->resolvedColorWithTraitCollection(lightTraits)).blue, 0.97);
    auto resolved = themed->resolvedColorWithTraitCollection(darkTraits);
    EXPECT_FALSE(resolved->isDynamic());
    SimulatedDevice::setAppearance(SimulatedDevice::Appearance::Light);
    EXPECT_DOUBLE_EQ(components(resolved).blue, 0.3) << "a resolved colour no longer follows the device";
    EXPECT_EQ(light->resolvedColorWithTraitCollection(darkTraits), light);
}

TEST(UIColor, SystemColoursAndDerivedColoursStayDynamic) {
    UIKitStateGuard guard;
    SimulatedDevice::setAppearance(SimulatedDevice::Appearance::Light);
    EXPECT_TRUE(UIColor::labelColor()->isEqual(UIColor::blackColor()));
    EXPECT_TRUE(UIColor::systemBackgroundColor()->isEqual(UIColor::whiteColor()));
    auto secondaryLight = components(UIColor::secondaryLabelColor());
    auto faded = UIColor::labelColor()->colorWithAlphaComponent(0.25);
    EXPECT_TRUE(faded->isDynamic());
    EXPECT_DOUBLE_EQ(components(faded).red, 0.0);

    SimulatedDevice::setAppearance(SimulatedDevice::Appearance::Dark);
    EXPECT_TRUE(UIColor::labelColor()->isEqual(UIColor::whiteColor()));
    EXPECT_TRUE(UIColor::systemBackgroundColor()->isEqual(UIColor::blackColor()));
    auto secondaryDark = components(UIColor::secondaryLabelColor());
    EXPECT_NE(secondaryLight.red, secondaryDark.red);
    EXPECT_DOUBLE_EQ(secondaryDark.alpha, 0.6);
    auto fadedDark = components(faded);
    EXPECT_DOUBLE_EQ(fadedDark.red, 1.0);
    EXPECT_DOUBLE_EQ(fadedDark.alpha, 0.25);
}

TEST(UIColor, MisbehavingProvidersResolveToClearInsteadOfLooping) {
    EXPECT_EQ(UIColor::colorWithDynamicProvider(nullptr), nullptr);
    auto nothing =
        UIColor::colorWithDynamicProvider([](const UITraitCollectionPtr&) { return UIColorPtr(); });
    EXPECT_TRUE(nothing->isEqual(UIColor::clearColor()));

    // A provider that answers itself: the resolution gives up instead of recursing forever.
    auto selfReferring = std::make_shared<std::weak_ptr<UIColor>>();
    auto loop = UIColor::colorWithDynamicProvider(
        [selfReferring](const UITraitCollectionPtr&) { return selfReferring->lock(); });
    *selfReferring = loop;
    EXPECT_TRUE(loop->isEqual(UIColor::clearColor()));

    // Null out-pointers are allowed.
    double green = -1;
    EXPECT_TRUE(UIColor::colorWithWhite(0.5, 1)->getRed(nullptr, &green, nullptr, nullptr));
    EXPECT_DOUBLE_EQ(green, 0.5);
}

} // namespace
