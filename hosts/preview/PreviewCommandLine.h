#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/common/DeviceOptions.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/uikit/CGGeometry.h"

namespace corvale::preview {

// What `corvale-preview` was asked to do: the port to listen on and the device it starts with.
struct PreviewCommandLine {
    enum class Action { run, showHelp, reportUsageError };

    Action action = Action::run;
    std::string usageError;

    // 0: a free port, chosen by the system.
    int port = 0;
    hosts::DeviceOptions device;
    std::optional<std::string> pane;
    // Unset: the preview serves the example manifest itself.
    std::optional<std::string> manifestServer;
    std::optional<platform::SimulatedDevice::SizeClass> sizeClass;
    std::optional<double> scale;
    // In points.
    std::optional<CGSize> screenSize;

    static PreviewCommandLine parse(const std::vector<std::string_view>& arguments);
    static std::string helpText();
};

// The value parsers the command line and the page's device options share, so both accept the same.
namespace optionvalues {
std::optional<double> number(std::string_view text);
std::optional<platform::SimulatedDevice::SizeClass> sizeClass(std::string_view text);
// "390x844": both sides positive.
std::optional<CGSize> screenSize(std::string_view text);
// 1 to 4 pixels per point.
std::optional<double> scale(std::string_view text);
} // namespace optionvalues

} // namespace corvale::preview
