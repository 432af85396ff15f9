#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/common/DeviceOptions.h"
#include "hosts/common/OptionValues.h"
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

// The command line and the page's device options read values through hosts/common/OptionValues.
namespace optionvalues = hosts::optionvalues;

} // namespace corvale::preview
