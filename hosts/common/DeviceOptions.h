#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/NSOperatingSystemVersion.h"
#include "platform/foundation/SimulatedDevice.h"

namespace corvale::hosts {

// The options every device host takes: where the device's "/" is, which release it runs, how it looks
// and which URL schemes its apps handle. Each stays unset until given, so the device keeps its default.
struct DeviceOptions {
    std::optional<std::string> deviceRoot;
    std::optional<NSOperatingSystemVersion> osVersion;
    std::optional<platform::SimulatedDevice::Appearance> appearance;
    std::optional<std::vector<std::string>> installedSchemes;

    static bool isDeviceOption(std::string_view option);
    // Takes one of the device options with its value; a message when the value is unusable.
    std::optional<std::string> take(std::string_view option, std::string_view value);
    // A message when the options given cannot describe one device: dark appearance on a release
    // before iOS 13 (the release the device runs by default counts when --os is not given).
    std::optional<std::string> conflict() const;
    // Sets the simulated device up; a message when it cannot be (a device root that is not a folder).
    std::optional<std::string> apply() const;
};

} // namespace corvale::hosts
