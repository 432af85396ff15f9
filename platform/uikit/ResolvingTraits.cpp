#include "platform/uikit/ResolvingTraits.h"

#include "platform/foundation/SimulatedDevice.h"
#include "platform/uikit/UITraitCollection.h"

namespace platform {

namespace {

// Dark appearance came with iOS 13; an earlier release is always light.
bool hasDarkAppearance() {
    return SimulatedDevice::osVersion().majorVersion >= 13;
}

UIUserInterfaceStyle deviceStyle() {
    return SimulatedDevice::appearance() == SimulatedDevice::Appearance::Dark && hasDarkAppearance()
               ? UIUserInterfaceStyle::Dark
               : UIUserInterfaceStyle::Light;
}

} // namespace

std::shared_ptr<UITraitCollection>
completedTraitCollection(const std::shared_ptr<UITraitCollection>& traits) {
    if (!traits)
        return UITraitCollection::traitCollectionWithUserInterfaceStyle(deviceStyle());
    if (traits->userInterfaceStyle() == UIUserInterfaceStyle::Dark && !hasDarkAppearance())
        return UITraitCollection::traitCollectionWithTraitsFromCollections(
            {traits, UITraitCollection::traitCollectionWithUserInterfaceStyle(UIUserInterfaceStyle::Light)});
    if (traits->userInterfaceStyle() != UIUserInterfaceStyle::Unspecified)
        return traits;
    return UITraitCollection::traitCollectionWithTraitsFromCollections(
        {UITraitCollection::traitCollectionWithUserInterfaceStyle(deviceStyle()), traits});
}

std::shared_ptr<UITraitCollection> resolvingTraitCollection() {
    return completedTraitCollection(UITraitCollection::currentTraitCollection());
}

} // namespace platform
