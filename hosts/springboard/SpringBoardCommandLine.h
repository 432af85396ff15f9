#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/common/DeviceOptions.h"
#include "hosts/springboard/SpringBoardStep.h"

namespace corvale::springboardhost {

// What `merrow-springboard` was asked to do: the device it plays and the steps to run.
struct SpringBoardCommandLine {
    enum class Action { run, showHelp, reportUsageError };

    Action action = Action::run;
    std::string usageError;

    hosts::DeviceOptions device;
    std::optional<std::uint64_t> seed;
    std::vector<SpringBoardStep> steps;

    // Arguments without the program name; options and steps may be mixed, and options take their
    // value as the next argument or after "=".
    static SpringBoardCommandLine parse(const std::vector<std::string_view>& arguments);
    static std::string helpText();
};

} // namespace corvale::springboardhost
