#include <gtest/gtest.h>

#include <cmath>

#include "platform/foundation/SimulatedDevice.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/UIWindow.h"

using platform::SimulatedDevice;

namespace {

// Puts the device's screen back as the test found it.
class ScreenGuard {
public:
    ScreenGuard()
        : m_size(SimulatedDevice::screenSize()), m_sizeClass(SimulatedDevice::horizontalSizeClass()) {}
    ~ScreenGuard() {
        SimulatedDevice::setScreenSize(m_size);
        SimulatedDevice::setHorizontalSizeClass(m_sizeClass);
    }

private:
    CGSize m_size;
    SimulatedDevice::SizeClass m_sizeClass;
};

} // namespace

TEST(DeviceScreen, ScreenAndNewWindowsFollowTheDevice) {
    ScreenGuard guard;
    EXPECT_EQ(UIScreen::mainScreen()->bounds(), CGRectMake(0, 0, 390, 844));
    EXPECT_EQ(std::make_shared<UIWindow>()->frame(), CGRectMake(0, 0, 390, 844));

    SimulatedDevice::setScreenSize({1024, 1366});
    SimulatedDevice::setScreenSize({-1, 10});
    SimulatedDevice::setScreenSize({NAN, 10});
    EXPECT_EQ(UIScreen::mainScreen()->bounds(), CGRectMake(0, 0, 1024, 1366)) << "bad sizes are ignored";
    EXPECT_EQ(std::make_shared<UIWindow>()->bounds().size, CGSizeMake(1024, 1366));
}

TEST(DeviceScreen, HorizontalSizeClassReachesScreenAndWindowTraits) {
    ScreenGuard guard;
    auto window = std::make_shared<UIWindow>();
    EXPECT_EQ(UIScreen::mainScreen()->traitCollection()->horizontalSizeClass(),
              UIUserInterfaceSizeClass::Compact);
    EXPECT_EQ(window->traitCollection()->horizontalSizeClass(), UIUserInterfaceSizeClass::Compact);

    SimulatedDevice::setHorizontalSizeClass(SimulatedDevice::SizeClass::Regular);
    EXPECT_EQ(UIScreen::mainScreen()->traitCollection()->horizontalSizeClass(),
              UIUserInterfaceSizeClass::Regular);
    EXPECT_EQ(window->traitCollection()->horizontalSizeClass(), UIUserInterfaceSizeClass::Regular);
    EXPECT_GT(UIScreen::mainScreen()->traitCollection()->displayScale(), 0) << "the scale is still there";

    // Traits set on the window itself win over the device's.
    window->_setTraitCollection(
        UITraitCollection::traitCollectionWithHorizontalSizeClass(UIUserInterfaceSizeClass::Compact));
    EXPECT_EQ(window->traitCollection()->horizontalSizeClass(), UIUserInterfaceSizeClass::Compact);
}
