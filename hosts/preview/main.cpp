// corvale-preview: the Settings app of the simulated device as a live page in the browser.
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string_view>
#include <vector>

#include "hosts/common/ExitStatus.h"
#include "hosts/common/OptionValues.h"
#include "hosts/common/UsageReport.h"
#include "hosts/devserver/DevServer.h"
#include "hosts/preview/FrameStore.h"
#include "hosts/preview/MainThreadQueue.h"
#include "hosts/preview/PreviewCommandLine.h"
#include "hosts/preview/PreviewLoop.h"
#include "hosts/preview/PreviewServer.h"
#include "hosts/preview/PreviewSession.h"
#include "hosts/preview/PreviewTabs.h"
#include "hosts/preview/SpringBoardSession.h"
#include "hosts/settings/SystemServices.h"
#include "platform/foundation/SimulatedDevice.h"

namespace {

using namespace corvale::preview;

constexpr std::string_view programName = "corvale-preview";
constexpr const char* settingsApplicationIdentifier = "com.apple.Preferences";

std::atomic<bool> stopRequested = false;

void requestStop(int) {
    stopRequested = true;
}

void installSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // A browser that closes its tab mid-frame must not end the preview.
    std::signal(SIGPIPE, SIG_IGN);
}

std::optional<std::string> prepareDevice(const PreviewCommandLine& commandLine) {
    if (auto problem = commandLine.device.apply())
        return problem;
    corvale::hosts::optionvalues::applyScreen(commandLine.screenSize, commandLine.scale,
                                              commandLine.sizeClass);
    platform::SimulatedDevice::setApplicationIdentifier(settingsApplicationIdentifier);
    return std::nullopt;
}

// libmerrow reads where its manifest lives from the environment when SpringBoard asks for it.
std::unique_ptr<corvale::devserver::DevServer> serveManifest(const PreviewCommandLine& commandLine) {
    if (commandLine.manifestServer) {
        ::setenv("MERROW_MANIFEST_SERVER", commandLine.manifestServer->c_str(), 1);
        return nullptr;
    }
    corvale::devserver::DevServerOptions options;
    options.contentFolder = CORVALE_PREVIEW_MANIFEST_CONTENT;
    auto server = std::make_unique<corvale::devserver::DevServer>(options);
    std::string problem;
    if (!server->start(0, &problem)) {
        std::cerr << programName << ": the manifest server did not start: " << problem << '\n';
        return nullptr;
    }
    ::setenv("MERROW_MANIFEST_SERVER", server->baseURL().c_str(), 1);
    return server;
}

int run(const PreviewCommandLine& commandLine) {
    if (auto problem = prepareDevice(commandLine))
        return corvale::hosts::reportUsageError(programName, *problem);
    installSignalHandlers();
    corvale::settingshost::SystemServices::registerClasses({});
    auto manifestServer = serveManifest(commandLine);
    PreviewSession session(commandLine.pane);
    SpringBoardSession springBoard;
    PreviewTabs tabs(session, springBoard);
    FrameStore frames;
    MainThreadQueue mainThread;
    PreviewServer server(frames, mainThread, tabs);
    if (!server.start(commandLine.port)) {
        std::cerr << programName << ": cannot listen on 127.0.0.1:" << commandLine.port << '\n';
        return corvale::hosts::exitStepFailed;
    }
    std::cout << "listening on " << server.address() << std::endl;
    PreviewLoop(tabs, frames, mainThread).run(stopRequested);
    mainThread.close();
    server.stop();
    return corvale::hosts::exitSuccess;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    auto commandLine = PreviewCommandLine::parse(arguments);
    if (auto status = corvale::hosts::finishWithoutRunning(commandLine, programName))
        return *status;
    return run(commandLine);
}
