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
    SimulatedDevice::Appearance appearance = SimulatedDevice::Appearance::Light;
    std::vector<std::string> installedURLSchemes;
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

SimulatedDevice::Appearance SimulatedDevice::appearance() {
    auto& device = state();
    std::lock_guard lock(device.mutex);
    return device.appearance;
}

void SimulatedDevice::setAppearance(Appearance appearance) {
    auto& device = state();
    std::lock_guard lock(device.mutex);
    device.appearance = appearance;
}

std::vector<std::string> SimulatedDevice::installedURLSchemes() {
    auto& device = state();
    std::lock_guard lock(device.mutex);
    return device.installedURLSchemes;
}

void SimulatedDevice::setInstalledURLSchemes(std::vector<std::string> schemes) {
    auto& device = state();
    std::lock_guard lock(device.mutex);
    device.installedURLSchemes = std::move(schemes);
}

} // namespace platform
