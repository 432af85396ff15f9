#include "hosts/common/DeviceOptions.h"

#include <filesystem>
#include <system_error>

#include "platform/foundation/DeviceRoot.h"

namespace corvale::hosts {

namespace {

std::vector<std::string> splitSchemes(std::string_view list) {
    std::vector<std::string> schemes;
    while (!list.empty()) {
        auto comma = list.find(',');
        if (auto scheme = list.substr(0, comma); !scheme.empty())
            schemes.emplace_back(scheme);
        if (comma == std::string_view::npos)
            break;
        list.remove_prefix(comma + 1);
    }
    return schemes;
}

std::optional<platform::SimulatedDevice::Appearance> parseAppearance(std::string_view text) {
    if (text == "light")
        return platform::SimulatedDevice::Appearance::Light;
    if (text == "dark")
        return platform::SimulatedDevice::Appearance::Dark;
    return std::nullopt;
}

} // namespace

bool DeviceOptions::isDeviceOption(std::string_view option) {
    return option == "--device-root" || option == "--os" || option == "--appearance" ||
           option == "--installed-schemes";
}

std::optional<std::string> DeviceOptions::take(std::string_view option, std::string_view value) {
    if (option == "--device-root") {
        deviceRoot = std::string(value);
    } else if (option == "--os") {
        osVersion = platform::parseVersion(value);
        if (!osVersion)
            return "--os takes a version such as 13.4.1, not '" + std::string(value) + "'";
    } else if (option == "--appearance") {
        appearance = parseAppearance(value);
        if (!appearance)
            return "--appearance is light or dark, not '" + std::string(value) + "'";
    } else if (option == "--installed-schemes") {
        installedSchemes = splitSchemes(value);
    } else {
        return "unknown option " + std::string(option);
    }
    return std::nullopt;
}

std::optional<std::string> DeviceOptions::conflict() const {
    if (appearance != platform::SimulatedDevice::Appearance::Dark)
        return std::nullopt;
    NSOperatingSystemVersion version = osVersion.value_or(platform::SimulatedDevice::osVersion());
    if (version.majorVersion >= 13)
        return std::nullopt;
    return "dark appearance needs iOS 13 or later; the device runs " + platform::versionString(version);
}

std::optional<std::string> DeviceOptions::apply() const {
    if (deviceRoot) {
        std::error_code error;
        if (!std::filesystem::is_directory(*deviceRoot, error))
            return "--device-root " + *deviceRoot + " is not a folder";
        platform::DeviceRoot::setRoot(*deviceRoot);
    }
    if (osVersion)
        platform::SimulatedDevice::setOSVersion(*osVersion);
    if (appearance)
        platform::SimulatedDevice::setAppearance(*appearance);
    if (installedSchemes)
        platform::SimulatedDevice::setInstalledURLSchemes(*installedSchemes);
    return std::nullopt;
}

} // namespace corvale::hosts
