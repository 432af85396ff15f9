#pragma once

#include <filesystem>
#include <string>
#include <vector>

// One run of a program to its end, its output kept through files in a scratch folder.
struct ProcessRun {
    int exitStatus = -1; // -1 when the program could not start or did not exit normally
    std::string output;
    std::string errors;

    // argv[0] is the program's path. environment is the whole environment of the child ("NAME=value");
    // the default is this process's own.
    static ProcessRun run(const std::vector<std::string>& argv, const std::filesystem::path& scratchFolder,
                          const std::vector<std::string>& environment = currentEnvironment());

    static std::vector<std::string> currentEnvironment();
    static std::string contentsOf(const std::filesystem::path& path);
    // Installs one component of the build tree into prefix with `cmake --install`; false on failure.
    static bool installComponent(const std::string& cmake, const std::string& binaryDir,
                                 const std::string& component, const std::filesystem::path& prefix);
};
