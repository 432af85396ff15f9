#include "platform/uikit/UIScreen.h"

#include "platform/foundation/SimulatedDevice.h"
#include "platform/uikit/UITraitCollection.h"

namespace {

[[maybe_unused]] const Class registeredScreen = platform::registerClass<UIScreen>("UIScreen");

} // namespace

std::shared_ptr<UIScreen> UIScreen::mainScreen() {
    static const std::shared_ptr<UIScreen> screen = std::make_shared<UIScreen>();
    return screen;
}

double UIScreen::scale() const {
    return platform::SimulatedDevice::screenScale();
}

CGRect UIScreen::bounds() const {
    auto size = platform::SimulatedDevice::screenSize();
    return CGRectMake(0, 0, size.width, size.height);
}

std::shared_ptr<UITraitCollection> UIScreen::traitCollection() const {
    auto sizeClass =
        platform::SimulatedDevice::horizontalSizeClass() == platform::SimulatedDevice::SizeClass::Regular
            ? UIUserInterfaceSizeClass::Regular
            : UIUserInterfaceSizeClass::Compact;
    return UITraitCollection::traitCollectionWithTraitsFromCollections(
        {UITraitCollection::traitCollectionWithDisplayScale(scale()),
         UITraitCollection::traitCollectionWithHorizontalSizeClass(sizeClass)});
}
