#include "hosts/preview/PreviewDevice.h"

#include <sstream>

#include "hosts/common/DeviceOptions.h"
#include "hosts/preview/PreviewCommandLine.h"
#include "platform/foundation/SimulatedDevice.h"

namespace corvale::preview {

namespace {

using platform::SimulatedDevice;

std::string sizeText(CGSize size) {
    std::ostringstream text;
    text << size.width << 'x' << size.height;
    return text.str();
}

std::string schemesText() {
    std::string text;
    for (const auto& scheme : SimulatedDevice::installedURLSchemes())
        text += (text.empty() ? "" : ",") + scheme;
    return text;
}

// The option's value as text, whether the page sent a string or a number.
std::optional<std::string> textOf(const nlohmann::json& options, const char* key) {
    if (!options.contains(key))
        return std::nullopt;
    const auto& value = options.at(key);
    if (value.is_string())
        return value.get<std::string>();
    if (value.is_number())
        return value.dump();
    return std::string();
}

struct Change {
    hosts::DeviceOptions device;
    std::optional<SimulatedDevice::SizeClass> sizeClass;
    std::optional<CGSize> screen;
    std::optional<double> scale;
};

// Every named option parsed; a message at the first unusable one.
std::optional<std::string> read(const nlohmann::json& options, Change& change) {
    static const std::pair<const char*, const char*> deviceKeys[] = {
        {"os", "--os"}, {"appearance", "--appearance"}, {"installedSchemes", "--installed-schemes"}};
    for (const auto& [key, option] : deviceKeys)
        if (auto text = textOf(options, key))
            if (auto problem = change.device.take(option, *text))
                return problem;
    if (auto text = textOf(options, "sizeClass");
        text && !(change.sizeClass = optionvalues::sizeClass(*text)))
        return "the size class is compact or regular, not '" + *text + "'";
    if (auto text = textOf(options, "screen"); text && !(change.screen = optionvalues::screenSize(*text)))
        return "the screen takes a size in points such as 390x844, not '" + *text + "'";
    if (auto text = textOf(options, "scale"); text && !(change.scale = optionvalues::scale(*text)))
        return "the scale is a number from 1 to 4, not '" + *text + "'";
    // Dark before iOS 13 is checked against the release the device will run.
    if (!change.device.osVersion)
        change.device.osVersion = SimulatedDevice::osVersion();
    if (!change.device.appearance && SimulatedDevice::appearance() == SimulatedDevice::Appearance::Dark)
        change.device.appearance = SimulatedDevice::Appearance::Dark;
    return change.device.conflict();
}

} // namespace

nlohmann::ordered_json PreviewDevice::current() {
    bool dark = SimulatedDevice::appearance() == SimulatedDevice::Appearance::Dark;
    bool regular = SimulatedDevice::horizontalSizeClass() == SimulatedDevice::SizeClass::Regular;
    return {{"os", platform::versionString(SimulatedDevice::osVersion())},
            {"appearance", dark ? "dark" : "light"},
            {"sizeClass", regular ? "regular" : "compact"},
            {"screen", sizeText(SimulatedDevice::screenSize())},
            {"scale", SimulatedDevice::screenScale()},
            {"installedSchemes", schemesText()}};
}

std::optional<std::string> PreviewDevice::change(const nlohmann::json& options) {
    Change change;
    if (auto problem = read(options, change))
        return problem;
    change.device.apply();
    hosts::optionvalues::applyScreen(change.screen, change.scale, change.sizeClass);
    return std::nullopt;
}

} // namespace corvale::preview
