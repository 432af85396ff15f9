#include <gtest/gtest.h>

#include <thread>

#include "platform/foundation/SimulatedDevice.h"
#include "platform/uikit/ResolvingTraits.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITraitCollection.h"

using platform::SimulatedDevice;

TEST(UITraitCollection, MergingTakesEachTraitFromTheLastCollectionThatSpecifiesIt) {
    auto dark = UITraitCollection::traitCollectionWithUserInterfaceStyle(UIUserInterfaceStyleDark);
    auto light = UITraitCollection::traitCollectionWithUserInterfaceStyle(UIUserInterfaceStyle::Light);
    auto compact = UITraitCollection::traitCollectionWithHorizontalSizeClass(UIUserInterfaceSizeClassCompact);
    auto twoX = UITraitCollection::traitCollectionWithDisplayScale(2);

    auto merged = UITraitCollection::traitCollectionWithTraitsFromCollections(
        {light, compact, nullptr, dark, twoX, std::make_shared<UITraitCollection>()});
    EXPECT_EQ(merged->userInterfaceStyle(), UIUserInterfaceStyle::Dark);
    EXPECT_EQ(merged->horizontalSizeClass(), UIUserInterfaceSizeClass::Compact);
    EXPECT_EQ(merged->displayScale(), 2);

    EXPECT_TRUE(merged->containsTraitsInCollection(dark));
    EXPECT_TRUE(merged->containsTraitsInCollection(std::make_shared<UITraitCollection>()));
    EXPECT_FALSE(merged->containsTraitsInCollection(light));
    EXPECT_FALSE(merged->containsTraitsInCollection(nullptr));
    EXPECT_FALSE(dark->containsTraitsInCollection(twoX));
    EXPECT_TRUE(
        merged->isEqual(*UITraitCollection::traitCollectionWithTraitsFromCollections({compact, twoX, dark})));
    EXPECT_FALSE(merged->isEqual(*dark));
    EXPECT_EQ(UITraitCollection::traitCollectionWithDisplayScale(-1)->displayScale(), 0);
}

TEST(UITraitCollection, CurrentCollectionIsPerThreadAndRestoredAfterPerform) {
    auto dark = UITraitCollection::traitCollectionWithUserInterfaceStyle(UIUserInterfaceStyleDark);
    auto before = UITraitCollection::currentTraitCollection();
    ASSERT_TRUE(before);
    EXPECT_EQ(before->userInterfaceStyle(), UIUserInterfaceStyle::Unspecified);

    UIUserInterfaceStyle inside = UIUserInterfaceStyle::Unspecified;
    UIUserInterfaceStyle otherThread = UIUserInterfaceStyle::Light;
    dark->performAsCurrentTraitCollection([&] {
        inside = UITraitCollection::currentTraitCollection()->userInterfaceStyle();
        std::thread([&] {
            otherThread = UITraitCollection::currentTraitCollection()->userInterfaceStyle();
        }).join();
    });
    EXPECT_EQ(inside, UIUserInterfaceStyle::Dark);
    EXPECT_EQ(otherThread, UIUserInterfaceStyle::Unspecified);
    EXPECT_EQ(UITraitCollection::currentTraitCollection(), before);

    UITraitCollection::setCurrentTraitCollection(dark);
    EXPECT_EQ(UITraitCollection::currentTraitCollection(), dark);
    UITraitCollection::setCurrentTraitCollection(nullptr);
    EXPECT_EQ(UITraitCollection::currentTraitCollection()->userInterfaceStyle(),
              UIUserInterfaceStyle::Unspecified);
}

TEST(UITraitCollection, NoDarkAppearanceBeforeIOS13) {
    NSOperatingSystemVersion previousVersion = SimulatedDevice::osVersion();
    SimulatedDevice::Appearance previousAppearance = SimulatedDevice::appearance();
    auto dark = UITraitCollection::traitCollectionWithUserInterfaceStyle(UIUserInterfaceStyleDark);
    auto styleOf = [](const std::shared_ptr<UITraitCollection>& traits) { return traits->userInterfaceStyle(); };
    SimulatedDevice::setAppearance(SimulatedDevice::Appearance::Dark);

    SimulatedDevice::setOSVersion({12, 4, 0});
    EXPECT_EQ(styleOf(platform::resolvingTraitCollection()), UIUserInterfaceStyle::Light);
    EXPECT_EQ(styleOf(platform::completedTraitCollection(nullptr)), UIUserInterfaceStyle::Light);
    EXPECT_EQ(styleOf(platform::completedTraitCollection(dark)), UIUserInterfaceStyle::Light);
    dark->performAsCurrentTraitCollection(
        [&] { EXPECT_EQ(styleOf(platform::resolvingTraitCollection()), UIUserInterfaceStyle::Light); });
    auto compactDark = UITraitCollection::traitCollectionWithTraitsFromCollections(
        {dark, UITraitCollection::traitCollectionWithHorizontalSizeClass(UIUserInterfaceSizeClassCompact)});
    auto completed = platform::completedTraitCollection(compactDark);
    EXPECT_EQ(completed->horizontalSizeClass(), UIUserInterfaceSizeClass::Compact) << "other traits are kept";
    EXPECT_EQ(styleOf(completed), UIUserInterfaceStyle::Light);

    SimulatedDevice::setOSVersion({13, 0, 0});
    EXPECT_EQ(styleOf(platform::resolvingTraitCollection()), UIUserInterfaceStyle::Dark);
    EXPECT_EQ(styleOf(platform::completedTraitCollection(dark)), UIUserInterfaceStyle::Dark);

    SimulatedDevice::setOSVersion(previousVersion);
    SimulatedDevice::setAppearance(previousAppearance);
}

TEST(UIScreen, ScaleFollowsTheSimulatedDevice) {
    double previous = SimulatedDevice::screenScale();
    auto screen = UIScreen::mainScreen();
    EXPECT_EQ(screen, UIScreen::mainScreen());

    SimulatedDevice::setScreenScale(2);
    EXPECT_EQ(screen->scale(), 2);
    EXPECT_EQ(screen->traitCollection()->displayScale(), 2);
    // Nonsense is ignored.
    SimulatedDevice::setScreenScale(0);
    SimulatedDevice::setScreenScale(-3);
    SimulatedDevice::setScreenScale(std::numeric_limits<double>::quiet_NaN());
    SimulatedDevice::setScreenScale(100);
    EXPECT_EQ(screen->scale(), 2);
    SimulatedDevice::setScreenScale(1);
    EXPECT_EQ(screen->nativeScale(), 1);

    SimulatedDevice::setScreenScale(previous);
}
