#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace corvale::devserver {

struct CommandLineDefaults {
    std::filesystem::path contentFolder;
    std::filesystem::path certificateOutput;
};

struct CommandLine {
    enum class Action { serve, showHelp, reportUsageError };

    Action action = Action::serve;
    std::string usageError;

    std::filesystem::path contentFolder;
    int port = 0;
    std::filesystem::path requestLog;
    bool useTLS = false;
    std::filesystem::path certificateOutput;

    // Arguments without the program name. Options take their value as the next argument or after
    // "=" ("--port 8080", "--port=8080").
    static CommandLine parse(const std::vector<std::string_view>& arguments,
                             const CommandLineDefaults& defaults);
    static std::string helpText(const CommandLineDefaults& defaults);
};

} // namespace corvale::devserver
