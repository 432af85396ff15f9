#include "platform/uikit/ResolvingTraits.h"

#include "platform/foundation/SimulatedDevice.h"
#include "platform/uikit/UITraitCollection.h"

namespace platform {

namespace {

UIUserInterfaceStyle deviceStyle() {
    return SimulatedDevice::appearance() == SimulatedDevice::Appearance::Dark ? UIUserInterfaceStyle::Dark
                                                                              : UIUserInterfaceStyle::Light;
}

} // namespace

std::shared_ptr<UITraitCollection>
completedTraitCollection(const std::shared_ptr<UITraitCollection>& traits) {
    if (!traits)
        return UITraitCollection::traitCollectionWithUserInterfaceStyle(deviceStyle());
    if (traits->userInterfaceStyle() != UIUserInterfaceStyle::Unspecified)
        return traits;
    return UITraitCollection::traitCollectionWithTraitsFromCollections(
        {UITraitCollection::traitCollectionWithUserInterfaceStyle(deviceStyle()), traits});
}

std::shared_ptr<UITraitCollection> resolvingTraitCollection() {
    return completedTraitCollection(UITraitCollection::currentTraitCollection());
}

} // namespace platform
