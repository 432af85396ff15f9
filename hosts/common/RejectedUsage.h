#pragma once

#include <string>
#include <utility>

namespace corvale::hosts {

// A command line that asks its host to report a usage error with this message. Every host's
// CommandLine has an Action with reportUsageError and a usageError.
template <class CommandLine> CommandLine rejectedUsage(std::string message) {
    CommandLine commandLine;
    commandLine.action = CommandLine::Action::reportUsageError;
    commandLine.usageError = std::move(message);
    return commandLine;
}

} // namespace corvale::hosts
