#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/common/DeviceOptions.h"
#include "platform/foundation/SimulatedDevice.h"
#include "hosts/settings/HostStep.h"

namespace corvale::settingshost {

// What `corvale-settings` was asked to do: the device it plays and the steps to run.
struct CommandLine {
    enum class Action { run, showHelp, reportUsageError };

    Action action = Action::run;
    std::string usageError;

    hosts::DeviceOptions device;
    // The credits server's base URL (else $CORVALE_CREDITS_SERVER, else the built-in one).
    std::optional<std::string> creditsServer;
    // The label of the installed pane to open at launch.
    std::optional<std::string> pane;
    std::optional<platform::SimulatedDevice::SizeClass> sizeClass;
    std::optional<double> scale;
    // In points.
    std::optional<CGSize> screenSize;
    // Platform classes the host leaves out of the runtime ("FBSSystemService").
    std::set<std::string> withoutClasses;
    std::vector<HostStep> steps;

    // Arguments without the program name. Options and steps may be mixed; options take their value
    // as the next argument or after "=" ("--os 13.0", "--os=13.0").
    static CommandLine parse(const std::vector<std::string_view>& arguments);
    static std::string helpText();
};

} // namespace corvale::settingshost
