#pragma once

#include <memory>

class UITraitCollection;

namespace platform {

// The traits that colours resolve against when nobody names a collection: the current trait
// collection, with the device's appearance filling in an unspecified interface style (on the
// device the current collection starts out as the screen's, which always has a style). Before
// iOS 13, which had no dark appearance, the style is always light.
std::shared_ptr<UITraitCollection> resolvingTraitCollection();
// The same completion for a given collection; nil gives the device's appearance alone.
std::shared_ptr<UITraitCollection> completedTraitCollection(const std::shared_ptr<UITraitCollection>& traits);

} // namespace platform
