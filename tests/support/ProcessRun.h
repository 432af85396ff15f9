#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

// One run of a program to its end, its output kept through files in a scratch folder.
struct ProcessRun {
    int exitStatus = -1; // -1 when the program could not start or did not exit normally
    std::string output;
    std::string errors;
    long peakMemoryKilobytes = 0; // the child's largest resident set

    // argv[0] is the program's path. environment is the whole environment of the child ("NAME=value");
    // the default is this process's own. A child still running after `limit` is killed and counts as
    // not exiting normally, so that a hang fails the test instead of holding the suite.
    static ProcessRun run(const std::vector<std::string>& argv, const std::filesystem::path& scratchFolder,
                          const std::vector<std::string>& environment = currentEnvironment(),
                          std::chrono::milliseconds limit = std::chrono::minutes(10));

    static std::vector<std::string> currentEnvironment();
    static std::string contentsOf(const std::filesystem::path& path);
    // Installs one component of the build tree into prefix with `cmake --install`; false on failure.
    static bool installComponent(const std::string& cmake, const std::string& binaryDir,
                                 const std::string& component, const std::filesystem::path& prefix);
};
