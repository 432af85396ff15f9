// Preferences shared with other processes and other threads.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/corefoundation/CFPreferences.h"
#include "platform/corefoundation/PreferencesStore.h"
#include "platform/foundation/ResetForTesting.h"
#include "platform/foundation/PropertyList.h"
#include "tests/support/TemporaryDeviceRoot.h"

extern char** environ;

namespace {

constexpr std::string_view app = "com.example.shared";

struct ToolResult {
    int exitCode = -1;
    std::string output;
};

// Runs the preferences tool as a real second process against `deviceRoot` and collects its stdout.
ToolResult runPreferencesTool(const std::filesystem::path& deviceRoot, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {CORVALE_PREFERENCES_TOOL, deviceRoot.string()});
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    pid_t child = 0;
    int spawnError = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);

    ToolResult result;
    char buffer[256];
    for (ssize_t length; (length = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        result.output.append(buffer, static_cast<std::size_t>(length));
    ::close(pipeEnds[0]);
    int status = 0;
    if (spawnError == 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    return result;
}

// Starts the tool without waiting for it; `waitForTool` collects its exit code.
pid_t startPreferencesTool(const std::filesystem::path& deviceRoot, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {CORVALE_PREFERENCES_TOOL, deviceRoot.string()});
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    return posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? child : -1;
}

int waitForTool(pid_t child) {
    int status = 0;
    if (child <= 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

class PreferencesSharingTest : public ::testing::Test {
protected:
    void SetUp() override { platform::resetForTesting(); }
    void TearDown() override { platform::resetForTesting(); }

    TemporaryDeviceRoot root;
};

TEST_F(PreferencesSharingTest, AnotherProcessSeesSynchronisedWritesBothWays) {
    CFPreferencesSetAppValue("fromTests", "hello", app);
    EXPECT_EQ(runPreferencesTool(root.path(), {"get", std::string(app), "fromTests"}).exitCode, 2)
        << "visible to another process before synchronising";
    ASSERT_TRUE(CFPreferencesAppSynchronize(app));
    auto read = runPreferencesTool(root.path(), {"get", std::string(app), "fromTests"});
    EXPECT_EQ(read.exitCode, 0);
    EXPECT_EQ(read.output, "hello");

    // This process has the domain cached; a synchronize with nothing pending picks up the other
    // process's write, and that write kept our key.
    ASSERT_EQ(runPreferencesTool(root.path(), {"set", std::string(app), "fromTool", "world"}).exitCode, 0);
    ASSERT_TRUE(CFPreferencesAppSynchronize(app));
    EXPECT_EQ(CFPreferencesCopyAppValue("fromTool", app).asString(), "world");
    EXPECT_EQ(CFPreferencesCopyAppValue("fromTests", app).asString(), "hello");

    // Our pending change and the other process's write to the same domain both survive.
    CFPreferencesSetAppValue("pending", 1, app);
    ASSERT_EQ(runPreferencesTool(root.path(), {"set", std::string(app), "meanwhile", "yes"}).exitCode, 0);
    ASSERT_TRUE(CFPreferencesAppSynchronize(app));
    EXPECT_EQ(platform::PropertyList::readFile("/var/mobile/Library/Preferences/com.example.shared.plist")
                  .value_or(Value()),
              Value::dictionary(
                  {{"fromTests", "hello"}, {"fromTool", "world"}, {"meanwhile", "yes"}, {"pending", 1}}));
}

TEST_F(PreferencesSharingTest, TwoProcessesWritingAtOnceKeepEachOthersKeys) {
    // Each process merges one key at a time into the same domain; a merge that read the file before
    // the other process's write landed and wrote after it would drop that key.
    constexpr int keysPerProcess = 150;
    pid_t first = startPreferencesTool(root.path(),
                                       {"set-many", std::string(app), "a", std::to_string(keysPerProcess)});
    pid_t second = startPreferencesTool(root.path(),
                                        {"set-many", std::string(app), "b", std::to_string(keysPerProcess)});
    ASSERT_EQ(waitForTool(first), 0);
    ASSERT_EQ(waitForTool(second), 0);

    auto keys = CFPreferencesCopyKeyList(app, kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
    EXPECT_EQ(keys.count(), static_cast<std::size_t>(2 * keysPerProcess));
    EXPECT_EQ(CFPreferencesCopyAppValue("a149", app).integerValue(), 149);
    EXPECT_EQ(CFPreferencesCopyAppValue("b149", app).integerValue(), 149);
}

TEST_F(PreferencesSharingTest, RestartKeepsOnlyWhatWasSynchronised) {
    CFPreferencesSetAppValue("saved", true, app);
    ASSERT_TRUE(CFPreferencesAppSynchronize(app));
    CFPreferencesSetAppValue("unsaved", true, app);

    platform::PreferencesStore::shared().resetForNewProcess();
    EXPECT_EQ(CFPreferencesCopyAppValue("saved", app), Value(true));
    EXPECT_TRUE(CFPreferencesCopyAppValue("unsaved", app).isNull());
}

TEST_F(PreferencesSharingTest, ConcurrentWritersAndSynchronisersLoseNothing) {
    constexpr int threads = 4;
    constexpr int keysPerThread = 40;
    std::vector<std::thread> workers;
    for (int thread = 0; thread < threads; ++thread) {
        workers.emplace_back([thread] {
            for (int index = 0; index < keysPerThread; ++index) {
                std::string key = "t" + std::to_string(thread) + "k" + std::to_string(index);
                CFPreferencesSetAppValue(key, index, app);
                if (CFPreferencesCopyAppValue(key, app).integerValue() != index)
                    ADD_FAILURE() << key << " did not read back";
                if (index % 8 == 0)
                    CFPreferencesAppSynchronize(app);
                CFPreferencesCopyKeyList(app, kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
            }
        });
    }
    for (auto& worker : workers)
        worker.join();
    ASSERT_TRUE(CFPreferencesAppSynchronize(app));

    platform::PreferencesStore::shared().resetForNewProcess();
    auto keys = CFPreferencesCopyKeyList(app, kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
    EXPECT_EQ(keys.count(), static_cast<std::size_t>(threads * keysPerThread));
    EXPECT_EQ(CFPreferencesCopyAppValue("t3k39", app).integerValue(), 39);
}

} // namespace
