// corvale-devserver: serves a content folder on 127.0.0.1 until SIGINT or SIGTERM.
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <pthread.h>

#include "hosts/devserver/CommandLine.h"
#include "hosts/devserver/DevServer.h"

namespace {

using corvale::devserver::CommandLine;
using corvale::devserver::CommandLineDefaults;
using corvale::devserver::DevServer;
using corvale::devserver::DevServerOptions;

constexpr int exitCannotStart = 1;
constexpr int exitUsage = 2;

CommandLineDefaults defaults() {
    std::error_code error;
    auto temporary = std::filesystem::temp_directory_path(error);
    if (error) {
        temporary = "/tmp";
    }
    return {CORVALE_DEVSERVER_DEFAULT_CONTENT, temporary / "corvale-devserver-cert.pem"};
}

// Blocked before any thread starts, so every thread inherits the mask and the signals wait for
// sigwait on the main thread instead of interrupting a request.
sigset_t blockStopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    return signals;
}

int serve(const CommandLine& commandLine) {
    // A client that hangs up during a TLS write must not end the server.
    std::signal(SIGPIPE, SIG_IGN);
    auto stopSignals = blockStopSignals();
    DevServer server(DevServerOptions{commandLine.contentFolder, commandLine.useTLS,
                                      commandLine.useTLS ? commandLine.certificateOutput : "",
                                      commandLine.requestLog});
    std::string problem;
    if (!server.start(commandLine.port, &problem)) {
        std::fprintf(stderr, "corvale-devserver: %s\n", problem.c_str());
        return exitCannotStart;
    }
    if (commandLine.useTLS) {
        std::printf("certificate: %s\n", commandLine.certificateOutput.c_str());
    }
    std::printf("listening on %s\n", server.baseURL().c_str());
    std::fflush(stdout);
    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    auto defaultValues = defaults();
    auto commandLine = CommandLine::parse(arguments, defaultValues);
    switch (commandLine.action) {
    case CommandLine::Action::showHelp:
        std::fputs(CommandLine::helpText(defaultValues).c_str(), stdout);
        return 0;
    case CommandLine::Action::reportUsageError:
        std::fprintf(stderr, "corvale-devserver: %s\nTry 'corvale-devserver --help'.\n",
                     commandLine.usageError.c_str());
        return exitUsage;
    case CommandLine::Action::serve:
        break;
    }
    return serve(commandLine);
}
