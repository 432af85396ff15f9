// merrow-springboard: SpringBoard of the simulated device, with its tweaks loaded.
#include <chrono>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSURLSession.h"
#include "platform/foundation/RandomSource.h"
#include "platform/foundation/SimulatedDevice.h"
#include "hosts/common/ExitStatus.h"
#include "hosts/common/UsageReport.h"
#include "hosts/springboard/SpringBoardCommandLine.h"
#include "hosts/springboard/SpringBoardHost.h"

namespace {

using namespace corvale::springboardhost;
using namespace corvale::hosts;

constexpr std::string_view programName = "merrow-springboard";
constexpr auto quitDrainBound = std::chrono::seconds(3);

std::optional<std::string> prepareDevice(const SpringBoardCommandLine& commandLine) {
    if (auto problem = commandLine.device.apply())
        return problem;
    if (commandLine.seed)
        platform::RandomSource::seed(*commandLine.seed);
    return std::nullopt;
}

// A new SpringBoard process is this program started again with the options and the steps after the
// restart: memory starts empty, while the device root (preferences included) stays.
int restartWith(char** argv, const std::vector<std::string_view>& arguments,
                const SpringBoardCommandLine& commandLine, std::size_t restartAt) {
    std::vector<std::string> next;
    const std::size_t consumedEnd = commandLine.steps[restartAt].endArgument;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        bool consumed = false;
        for (std::size_t step = 0; step <= restartAt && !consumed; ++step)
            consumed =
                index >= commandLine.steps[step].firstArgument && index < commandLine.steps[step].endArgument;
        if (!consumed)
            next.emplace_back(arguments[index]);
    }
    if (commandLine.steps.size() == restartAt + 1 || consumedEnd > arguments.size())
        return exitSuccess;
    std::vector<char*> nextArgv{argv[0]};
    for (auto& argument : next)
        nextArgv.push_back(argument.data());
    nextArgv.push_back(nullptr);
    std::cout.flush();
    std::cerr.flush();
    execv("/proc/self/exe", nextArgv.data());
    std::cerr << "merrow-springboard: restart: cannot start a new process\n";
    return exitStepFailed;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    auto commandLine = SpringBoardCommandLine::parse(arguments);
    if (auto status = finishWithoutRunning(commandLine, programName))
        return *status;
    if (auto problem = prepareDevice(commandLine))
        return reportUsageError(programName, *problem);

    std::size_t restartAt = 0;
    int status = exitSuccess;
    {
        SpringBoardHost host(std::cout, std::cerr);
        host.loadTweaks();
        status = host.run(commandLine.steps, &restartAt);
    }
    std::cout.flush();
    // Answers already in hand finish their work before this process ends or is replaced.
    NSURLSession::sharedSession()->drainDelegateQueue(quitDrainBound);
    if (status != exitSuccess || restartAt >= commandLine.steps.size())
        return status;
    return restartWith(argv, arguments, commandLine, restartAt);
}
