#include "platform/foundation/SimulatedDevice.h"

#include "platform/foundation/ResetForTesting.h"

#include <cmath>
#include <cstdlib>
#include <mutex>
#include <optional>

namespace platform {

namespace {

constexpr NSOperatingSystemVersion defaultOSVersion{14, 0, 0};
constexpr double defaultScreenScale = 3.0;
constexpr double smallestScreenScale = 1.0;
constexpr double largestScreenScale = 4.0;
constexpr CGSize defaultScreenSize{390, 844};

struct DeviceState {
    std::mutex mutex;
    std::optional<NSOperatingSystemVersion> osVersion;
    std::string applicationIdentifier;
    std::optional<double> screenScale;
    SimulatedDevice::Appearance appearance = SimulatedDevice::Appearance::Light;
    CGSize screenSize = defaultScreenSize;
    SimulatedDevice::SizeClass horizontalSizeClass = SimulatedDevice::SizeClass::Compact;
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

bool isValidScreenScale(double scale) {
    // Written so that NaN fails both comparisons.
    return scale >= smallestScreenScale && scale <= largestScreenScale;
}

double screenScaleFromEnvironment() {
    const char* text = std::getenv("CORVALE_SCREEN_SCALE");
    if (!text || !*text)
        return defaultScreenScale;
    char* end = nullptr;
    double scale = std::strtod(text, &end);
    return *end == '\0' && isValidScreenScale(scale) ? scale : defaultScreenScale;
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

double SimulatedDevice::screenScale() {
    auto& device = state();
    std::lock_guard lock(device.mutex);
    if (!device.screenScale)
        device.screenScale = screenScaleFromEnvironment();
    return *device.screenScale;
}

void SimulatedDevice::setScreenScale(double scale) {
    if (!isValidScreenScale(scale))
        return;
    auto& device = state();
    std::lock_guard lock(device.mutex);
    device.screenScale = scale;
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

CGSize SimulatedDevice::screenSize() {
    auto& device = state();
    std::lock_guard lock(device.mutex);
    return device.screenSize;
}

void SimulatedDevice::setScreenSize(CGSize size) {
    if (!(std::isfinite(size.width) && std::isfinite(size.height) && size.width > 0 && size.height > 0))
        return;
    auto& device = state();
    std::lock_guard lock(device.mutex);
    device.screenSize = size;
}

SimulatedDevice::SizeClass SimulatedDevice::horizontalSizeClass() {
    auto& device = state();
    std::lock_guard lock(device.mutex);
    return device.horizontalSizeClass;
}

void SimulatedDevice::setHorizontalSizeClass(SizeClass sizeClass) {
    auto& device = state();
    std::lock_guard lock(device.mutex);
    device.horizontalSizeClass = sizeClass;
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

void resetSimulatedDevice() {
    auto& device = state();
    std::lock_guard lock(device.mutex);
    device.osVersion.reset();
    device.applicationIdentifier.clear();
    device.screenScale.reset();
    device.appearance = SimulatedDevice::Appearance::Light;
    device.screenSize = defaultScreenSize;
    device.horizontalSizeClass = SimulatedDevice::SizeClass::Compact;
    device.installedURLSchemes.clear();
}

} // namespace platform
