// corvale-settings: the Settings app of the simulated device, with the installed pane open.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSURLSession.h"
#include "platform/foundation/SimulatedDevice.h"
#include "hosts/settings/CommandLine.h"
#include "hosts/common/ExitStatus.h"
#include "hosts/common/OptionValues.h"
#include "hosts/common/UsageReport.h"
#include "hosts/settings/PreferenceLoaderEntry.h"
#include "hosts/settings/SettingsApplication.h"
#include "hosts/settings/StepRunner.h"
#include "hosts/settings/SystemServices.h"

namespace {

using namespace corvale::settingshost;

constexpr const char* settingsApplicationIdentifier = "com.apple.Preferences";
constexpr auto quitDrainBound = std::chrono::seconds(3);

constexpr std::string_view programName = "corvale-settings";

int usageError(const std::string& message) {
    return corvale::hosts::reportUsageError(programName, message);
}

// The device the command line describes; a message when it cannot be.
std::optional<std::string> prepareDevice(const CommandLine& commandLine) {
    if (auto problem = commandLine.device.apply())
        return problem;
    corvale::hosts::optionvalues::applyScreen(commandLine.screenSize, commandLine.scale, commandLine.sizeClass);
    // The pane reads the server from the environment, as it would read its deployment setting.
    if (commandLine.creditsServer)
        setenv("CORVALE_CREDITS_SERVER", commandLine.creditsServer->c_str(), 1);
    platform::SimulatedDevice::setApplicationIdentifier(settingsApplicationIdentifier);
    return std::nullopt;
}

int run(const CommandLine& commandLine) {
    if (auto problem = prepareDevice(commandLine))
        return usageError(*problem);

    // The runtime keeps generateURL for the life of the process, so it holds the app weakly.
    auto openApplication = std::make_shared<std::weak_ptr<SettingsApplication>>();
    SystemServices::registerClasses(commandLine.withoutClasses);
    SystemServices::installGenerateURL([openApplication] {
        auto application = openApplication->lock();
        return application ? application->navigationPosition() : std::string();
    });

    std::string problem;
    std::shared_ptr<SettingsApplication> application = SettingsApplication::launch(commandLine.pane, &problem);
    if (!application) {
        std::cerr << "corvale-settings: cannot open the pane: " << problem << '\n';
        return exitStepFailed;
    }
    *openApplication = application;
    StepRunner runner(*application, std::cout, std::cerr);
    auto status = runner.run(commandLine.steps);
    std::cout.flush();
    // Answers already in hand finish their work (a credits cache being written) before the app ends.
    NSURLSession::sharedSession()->drainDelegateQueue(quitDrainBound);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    auto commandLine = CommandLine::parse(arguments);
    if (auto status = corvale::hosts::finishWithoutRunning(commandLine, programName))
        return *status;
    return run(commandLine);
}
