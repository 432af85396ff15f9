#include "hosts/common/OptionValues.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace corvale::hosts::optionvalues {

std::optional<double> number(std::string_view text) {
    std::string copy(text);
    char* end = nullptr;
    double value = std::strtod(copy.c_str(), &end);
    if (copy.empty() || *end != '\0' || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<platform::SimulatedDevice::SizeClass> sizeClass(std::string_view text) {
    if (text == "compact")
        return platform::SimulatedDevice::SizeClass::Compact;
    if (text == "regular")
        return platform::SimulatedDevice::SizeClass::Regular;
    return std::nullopt;
}

std::optional<CGSize> screenSize(std::string_view text) {
    auto cross = text.find('x');
    if (cross == std::string_view::npos)
        return std::nullopt;
    auto width = number(text.substr(0, cross));
    auto height = number(text.substr(cross + 1));
    if (!width || !height || *width <= 0 || *height <= 0)
        return std::nullopt;
    return CGSize{*width, *height};
}

std::optional<double> scale(std::string_view text) {
    auto value = number(text);
    if (!value || *value < 1 || *value > 4)
        return std::nullopt;
    return value;
}

void applyScreen(const std::optional<CGSize>& size, const std::optional<double>& scale,
                 const std::optional<platform::SimulatedDevice::SizeClass>& sizeClass) {
    if (size)
        platform::SimulatedDevice::setScreenSize(*size);
    if (scale)
        platform::SimulatedDevice::setScreenScale(*scale);
    if (sizeClass)
        platform::SimulatedDevice::setHorizontalSizeClass(*sizeClass);
}

} // namespace corvale::hosts::optionvalues
