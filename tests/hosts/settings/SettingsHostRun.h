#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// One run of the corvale-settings executable to its end: exit status, standard output as lines and
// standard error as text.
struct SettingsHostRun {
    int exitStatus = -1;
    std::vector<std::string> lines;
    std::string errors;
    long peakMemoryKilobytes = 0;

    // Runs the host with these arguments; its output goes through files in `scratchFolder`.
    // A host still running after `limit` is killed and the run fails (exit status -1).
    static SettingsHostRun run(const std::vector<std::string>& arguments,
                               const std::filesystem::path& scratchFolder,
                               std::chrono::milliseconds limit = std::chrono::minutes(10));
    // The output lines parsed as JSON; a line that is not JSON fails the test and gives null.
    std::vector<nlohmann::json> jsonLines() const;
};
