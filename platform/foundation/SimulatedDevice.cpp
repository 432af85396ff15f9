#include "foundation/SimulatedDevice.h"

#include <cstdlib>
#include <mutex>
#include <optional>

namespace platform {

namespace {

constexpr NSOperatingSystemVersion defaultOSVersion{14, 0, 0};

struct DeviceState {
    std::mutex mutex;
    std::optional<NSOperatingSystemVersion> osVersion;
    std::string applicationIdentifier;
};

DeviceState& state() {
    static DeviceState shared;
    return shared;
}

NSOperatingSystemVersion versionFromEnvironment() {
    if (const char* text = std::getenv("CORVALE_OS_VERSION"))
        if (auto version = parseVersion(text))
            return *version;
    return defaultOSVersion;
}

} // namespace

NSOperatingSystemVersion SimulatedDevice::osVersion() {
    auto& device = state();
    std::lock_guard lock(device.mutex);
    if (!device.osVersion)
        device.osVersion = versionFromEnvironment();
    return *device.osVersion;
}

void SimulatedDevice::setOSVersion(NSOperatingSystemVersion version) {
    auto& device = state();
    std::lock_guard lock(device.mutex);
    device.osVersion = version;
}

std::string SimulatedDevice::applicationIdentifier() {
    auto& device = state();
    std::lock_guard lock(device.mutex);
    return device.applicationIdentifier;
}

void SimulatedDevice::setApplicationIdentifier(std::string identifier) {
    auto& device = state();
    std::lock_guard lock(device.mutex);
    device.applicationIdentifier = std::move(identifier);
}

} // namespace platform
