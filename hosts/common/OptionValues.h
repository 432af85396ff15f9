#pragma once

#include <optional>
#include <string_view>

#include "platform/foundation/SimulatedDevice.h"
#include "platform/uikit/CGGeometry.h"

// The values of the hosts' command-line options, read one way for every host; nothing when the
// text is not such a value.
namespace corvale::hosts::optionvalues {

// A finite number written whole ("2", "-40.5", "1e3").
std::optional<double> number(std::string_view text);
// "compact" or "regular".
std::optional<platform::SimulatedDevice::SizeClass> sizeClass(std::string_view text);
// "390x844": both sides positive, in points.
std::optional<CGSize> screenSize(std::string_view text);
// Pixels per point, from 1 to 4.
std::optional<double> scale(std::string_view text);

// Gives the simulated screen the values that were given; the others keep the device's defaults.
void applyScreen(const std::optional<CGSize>& size, const std::optional<double>& scale,
                 const std::optional<platform::SimulatedDevice::SizeClass>& sizeClass);

} // namespace corvale::hosts::optionvalues
