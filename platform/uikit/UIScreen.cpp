#include "uikit/UIScreen.h"

#include "foundation/SimulatedDevice.h"
#include "uikit/UITraitCollection.h"

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

std::shared_ptr<UITraitCollection> UIScreen::traitCollection() const {
    return UITraitCollection::traitCollectionWithDisplayScale(scale());
}
