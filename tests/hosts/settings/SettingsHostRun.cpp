#include "tests/hosts/settings/SettingsHostRun.h"

#include <gtest/gtest.h>
#include <sstream>

#include "tests/support/ProcessRun.h"

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

// The host's environment, with the credits server pointed at a closed loopback port unless the test
// chose one: a root page never reaches out beyond the machine during tests.
std::vector<std::string> hostEnvironment() {
    std::vector<std::string> entries = ProcessRun::currentEnvironment();
    bool serverChosen = false;
    for (const auto& entry : entries)
        serverChosen = serverChosen || entry.rfind("CORVALE_CREDITS_SERVER=", 0) == 0;
    if (!serverChosen)
        entries.emplace_back("CORVALE_CREDITS_SERVER=http://127.0.0.1:9");
    return entries;
}

} // namespace

SettingsHostRun SettingsHostRun::run(const std::vector<std::string>& arguments,
                                     const std::filesystem::path& scratchFolder,
                                     std::chrono::milliseconds limit) {
    std::vector<std::string> argv{CORVALE_SETTINGS_HOST_EXECUTABLE};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const auto run = ProcessRun::run(argv, scratchFolder, hostEnvironment(), limit);
    SettingsHostRun result;
    result.exitStatus = run.exitStatus;
    result.lines = linesOf(run.output);
    result.errors = run.errors;
    result.peakMemoryKilobytes = run.peakMemoryKilobytes;
    return result;
}

std::vector<nlohmann::json> SettingsHostRun::jsonLines() const {
    std::vector<nlohmann::json> parsed;
    for (const auto& line : lines) {
        auto json = nlohmann::json::parse(line, nullptr, false);
        EXPECT_FALSE(json.is_discarded()) << "not JSON: " << line;
        parsed.push_back(json.is_discarded() ? nlohmann::json() : json);
    }
    return parsed;
}
