#include "tests/support/ProcessRun.h"

#include "tests/support/ChildWatch.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <unistd.h>

extern char** environ;

namespace {

std::vector<char*> pointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (auto& string : strings)
        pointers.push_back(string.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

std::vector<std::string> ProcessRun::currentEnvironment() {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry)
        entries.emplace_back(*entry);
    return entries;
}

std::string ProcessRun::contentsOf(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream contents;
    contents << stream.rdbuf();
    return contents.str();
}

ProcessRun ProcessRun::run(const std::vector<std::string>& argv, const std::filesystem::path& scratchFolder,
                           const std::vector<std::string>& environment, std::chrono::milliseconds limit) {
    const auto outputPath = scratchFolder / "host-stdout.txt";
    const auto errorPath = scratchFolder / "host-stderr.txt";
    std::vector<std::string> arguments = argv;
    std::vector<std::string> variables = environment;
    std::vector<char*> argumentPointers = pointersTo(arguments);
    std::vector<char*> variablePointers = pointersTo(variables);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    ProcessRun result;
    pid_t pid = -1;
    if (posix_spawn(&pid, argumentPointers[0], &files, nullptr, argumentPointers.data(),
                    variablePointers.data()) == 0)
        result.exitStatus = waitForChild(pid, limit, &result.peakMemoryKilobytes);
    posix_spawn_file_actions_destroy(&files);
    result.output = contentsOf(outputPath);
    result.errors = contentsOf(errorPath);
    return result;
}

bool ProcessRun::installComponent(const std::string& cmake, const std::string& binaryDir,
                                  const std::string& component, const std::filesystem::path& prefix) {
    const std::string command = "\"" + cmake + "\" --install \"" + binaryDir + "\" --component " + component +
                                " --prefix \"" + prefix.string() + "\" > /dev/null";
    return std::system(command.c_str()) == 0;
}
