#include "tests/hosts/settings/SettingsHostRun.h"

#include "tests/support/ChildWatch.h"

#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>

extern char** environ;

namespace {

std::string contentsOf(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream contents;
    contents << stream.rdbuf();
    return contents.str();
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

namespace {

// The host's environment, with the credits server pointed at a closed loopback port unless the test
// chose one: a root page never reaches out beyond the machine during tests.
std::vector<std::string> hostEnvironment() {
    std::vector<std::string> entries;
    bool serverChosen = false;
    for (char** entry = environ; *entry; ++entry) {
        entries.emplace_back(*entry);
        serverChosen = serverChosen || entries.back().rfind("CORVALE_CREDITS_SERVER=", 0) == 0;
    }
    if (!serverChosen)
        entries.emplace_back("CORVALE_CREDITS_SERVER=http://127.0.0.1:9");
    return entries;
}

std::vector<char*> pointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (auto& string : strings)
        pointers.push_back(string.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

SettingsHostRun SettingsHostRun::run(const std::vector<std::string>& arguments,
                                     const std::filesystem::path& scratchFolder,
                                     std::chrono::milliseconds limit) {
    auto outputPath = scratchFolder / "host-stdout.txt";
    auto errorPath = scratchFolder / "host-stderr.txt";
    std::vector<std::string> argv{CORVALE_SETTINGS_HOST_EXECUTABLE};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers = pointersTo(argv);
    std::vector<std::string> environment = hostEnvironment();
    std::vector<char*> environmentPointers = pointersTo(environment);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    SettingsHostRun result;
    pid_t pid = -1;
    if (posix_spawn(&pid, pointers[0], &files, nullptr, pointers.data(), environmentPointers.data()) == 0)
        result.exitStatus = waitForChild(pid, limit, &result.peakMemoryKilobytes);
    posix_spawn_file_actions_destroy(&files);
    result.lines = linesOf(contentsOf(outputPath));
    result.errors = contentsOf(errorPath);
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
