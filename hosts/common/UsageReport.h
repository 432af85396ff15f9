#pragma once

#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "hosts/common/ExitStatus.h"

namespace corvale::hosts {

// "<program>: <message>" and a pointer to --help on standard error; the status for bad usage.
inline int reportUsageError(std::string_view program, const std::string& message) {
    std::cerr << program << ": " << message << "\nTry '" << program << " --help'.\n";
    return exitUsage;
}

// A command line that asks for help or was rejected ends the program here: the status to exit with,
// or nothing when the host should run.
template <class CommandLine>
std::optional<int> finishWithoutRunning(const CommandLine& commandLine, std::string_view program) {
    switch (commandLine.action) {
    case CommandLine::Action::showHelp:
        std::cout << CommandLine::helpText();
        return exitSuccess;
    case CommandLine::Action::reportUsageError:
        return reportUsageError(program, commandLine.usageError);
    case CommandLine::Action::run:
        break;
    }
    return std::nullopt;
}

} // namespace corvale::hosts
