#include "hosts/devserver/CommandLine.h"

#include <charconv>
#include <optional>
#include <utility>

#include "hosts/common/ArgumentReader.h"
#include "hosts/common/RejectedUsage.h"

namespace corvale::devserver {

namespace {

constexpr int highestPort = 65535;

std::optional<int> parsePort(std::string_view text) {
    int port = -1;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size() || port < 0 || port > highestPort) {
        return std::nullopt;
    }
    return port;
}

using hosts::ArgumentReader;

CommandLine rejectedUsage(std::string message) {
    return hosts::rejectedUsage<CommandLine>(std::move(message));
}

} // namespace

CommandLine CommandLine::parse(const std::vector<std::string_view>& arguments,
                               const CommandLineDefaults& defaults) {
    CommandLine commandLine;
    commandLine.contentFolder = defaults.contentFolder;
    commandLine.certificateOutput = defaults.certificateOutput;
    bool certificateOutputGiven = false;
    ArgumentReader reader(arguments);
    while (!reader.atEnd()) {
        auto option = reader.next();
        auto requireValue = [&]() -> std::optional<std::string_view> {
            auto value = reader.value();
            if (!value || value->empty()) {
                return std::nullopt;
            }
            return value;
        };
        if (option == "--help" || option == "-h") {
            if (reader.hasAttachedValue()) {
                return rejectedUsage("--help takes no value");
            }
            commandLine.action = Action::showHelp;
            return commandLine;
        } else if (option == "--tls") {
            if (reader.hasAttachedValue()) {
                return rejectedUsage("--tls takes no value");
            }
            commandLine.useTLS = true;
        } else if (option == "--content" || option == "--log" || option == "--cert-out") {
            auto value = requireValue();
            if (!value) {
                return rejectedUsage(std::string(option) + " needs a path");
            }
            if (option == "--content") {
                commandLine.contentFolder = *value;
            } else if (option == "--log") {
                commandLine.requestLog = *value;
            } else {
                commandLine.certificateOutput = *value;
                certificateOutputGiven = true;
            }
        } else if (option == "--port") {
            auto value = requireValue();
            auto port = value ? parsePort(*value) : std::nullopt;
            if (!port) {
                return rejectedUsage("--port needs a number from 0 to 65535");
            }
            commandLine.port = *port;
        } else {
            return rejectedUsage("unknown argument " + std::string(option));
        }
    }
    if (certificateOutputGiven && !commandLine.useTLS) {
        return rejectedUsage("--cert-out only applies with --tls");
    }
    return commandLine;
}

std::string CommandLine::helpText(const CommandLineDefaults& defaults) {
    return "Usage: corvale-devserver [options]\n"
           "\n"
           "Serves credits, assets and the follow-prompt manifest from a content folder to the\n"
           "Corvale settings pane and libmerrow, on 127.0.0.1 only.\n"
           "\n"
           "Options:\n"
           "  --content DIR    content folder to serve\n"
           "                   (default: " +
           defaults.contentFolder.string() +
           ")\n"
           "  --port N         port from 0 to 65535; 0 picks a free port (default: 0)\n"
           "  --log FILE       replace FILE with one JSON line per answered request:\n"
           "                   {\"method\":...,\"path\":...,\"status\":...}\n"
           "  --tls            serve HTTPS with a self-signed certificate made at start\n"
           "                   (P-256, IP:127.0.0.1 and DNS:localhost, valid for 48 hours)\n"
           "  --cert-out FILE  with --tls: write that certificate as PEM to FILE for clients to trust\n"
           "                   (default: " +
           defaults.certificateOutput.string() +
           ")\n"
           "  --help           show this text and exit\n"
           "\n"
           "Content folder (read again on every request):\n"
           "  credits/<tweak>.json   a JSON object with \"credits\" and \"links\"\n"
           "  assets/<name>          pictures named by the logo variants' \"url\"\n"
           "  merrow/manifest.json   every \"{server}\" in it becomes this server's base URL\n"
           "\n"
           "Endpoints (GET and HEAD):\n"
           "  /credits/<tweak>                  the credits, with \"success\": true and \"hash\"\n"
           "  /credits/<tweak>/hash             {\"hash\": ...}\n"
           "  /credits/asset/<name>             the asset's bytes; header X-Asset-Hash: their SHA-256\n"
           "  /static/app/merrow/manifest.json  the manifest\n"
           "Names with \"/\", \"..\", a leading dot or control characters, or longer than 255 bytes,\n"
           "answer 400; unknown names 404; every failure has the body {\"success\":false}.\n"
           "\n"
           "Hashes are lower-case hexadecimal SHA-256. Before hashing, each logo variant whose \"url\"\n"
           "names an existing asset gets that asset's hash as its \"hash\"; the credits hash is then\n"
           "taken over the compact JSON (no whitespace, keys in byte order) of the credits without\n"
           "\"success\" and \"hash\".\n"
           "\n"
           "Output: with --tls \"certificate: FILE\", then \"listening on URL\", one line each on\n"
           "standard output. Stops on SIGINT or SIGTERM.\n"
           "Exit status: 0 after --help or a clean stop, 1 when the server cannot start, 2 on bad usage.\n";
}

} // namespace corvale::devserver
