#include "hosts/preview/PreviewCommandLine.h"

#include <cmath>
#include <cstdlib>

#include "hosts/common/ArgumentReader.h"
#include "hosts/common/RejectedUsage.h"

namespace corvale::preview {

namespace {

PreviewCommandLine rejectedUsage(std::string message) {
    return hosts::rejectedUsage<PreviewCommandLine>(std::move(message));
}

// One option other than the device's; a message when it is unknown or its value unusable.
std::optional<std::string> takeHostOption(PreviewCommandLine& commandLine, std::string_view option,
                                          std::string_view value) {
    if (option == "--port") {
        auto port = optionvalues::number(value);
        if (!port || *port < 0 || *port > 65535 || *port != std::floor(*port))
            return "--port takes a port number from 0 to 65535, not '" + std::string(value) + "'";
        commandLine.port = static_cast<int>(*port);
    } else if (option == "--size-class") {
        commandLine.sizeClass = optionvalues::sizeClass(value);
        if (!commandLine.sizeClass)
            return "--size-class is compact or regular, not '" + std::string(value) + "'";
    } else if (option == "--scale") {
        commandLine.scale = optionvalues::scale(value);
        if (!commandLine.scale)
            return "--scale takes a number from 1 to 4, not '" + std::string(value) + "'";
    } else if (option == "--screen") {
        commandLine.screenSize = optionvalues::screenSize(value);
        if (!commandLine.screenSize)
            return "--screen takes a size in points such as 390x844, not '" + std::string(value) + "'";
    } else if (option == "--pane") {
        commandLine.pane = std::string(value);
    } else if (option == "--manifest-server") {
        commandLine.manifestServer = std::string(value);
    } else {
        return "unknown option " + std::string(option);
    }
    return std::nullopt;
}

} // namespace

PreviewCommandLine PreviewCommandLine::parse(const std::vector<std::string_view>& arguments) {
    PreviewCommandLine commandLine;
    hosts::ArgumentReader reader(arguments);
    while (!reader.atEnd()) {
        auto word = reader.next();
        if (word == "--help" || word == "-h") {
            PreviewCommandLine help;
            help.action = Action::showHelp;
            return help;
        }
        if (!word.starts_with("--"))
            return rejectedUsage("unexpected argument '" + std::string(word) + "'");
        auto value = reader.value();
        if (!value || value->empty())
            return rejectedUsage(std::string(word) + " needs a value");
        auto problem = hosts::DeviceOptions::isDeviceOption(word) ? commandLine.device.take(word, *value)
                                                                  : takeHostOption(commandLine, word, *value);
        if (problem)
            return rejectedUsage(*problem);
    }
    if (auto problem = commandLine.device.conflict())
        return rejectedUsage(*problem);
    return commandLine;
}

std::string PreviewCommandLine::helpText() {
    return R"(Usage: corvale-preview [options]

Runs the Settings app of the simulated device and serves it as a live page on 127.0.0.1. It prints
"listening on http://127.0.0.1:PORT/?token=TOKEN"; open that address in a browser on this machine.
Every request needs the token, and only Host 127.0.0.1:PORT or localhost:PORT is answered.

The page shows the screen and a panel. A click on the screen is a touch at that point, a drag on the
list scrolls it, typing goes to the field being edited and Enter ends editing. The panel shows the
page's dump (as corvale-settings prints it), the events (opened links, notifications, restart
requests) as they happen and the open pane's lint problems; it has Back, Home, "Reset device state"
(removes /var/mobile/Library/Preferences, Caches and Application Support from the device root, then
restarts the app) and the device options, whose change restarts the app on the same pages. When a
file of an installed pane's bundle or of /Library/PreferenceLoader/Preferences changes, the app
restarts on the same pages; a list that no longer parses shows its lint problem on the page.

The SpringBoard tab shows SpringBoard with the device's tweaks (libmerrow): Launch, Unlock, Restart (a
new SpringBoard on the same device) and "Clear prompt state" (removes libmerrow's preference domain).
The follow prompt's manifest comes from a dev server the preview starts on the example server content,
or from --manifest-server.

Options:
  --port N                  the port to listen on (default: 0, a free port)
  --device-root DIR         the folder that plays the device's "/" (default: $CORVALE_DEVICE_ROOT,
                            else the current directory)
  --os X.Y.Z                the iOS version the device runs (default: 14.0)
  --appearance light|dark   the device's appearance (default: light; dark needs iOS 13 or later)
  --installed-schemes a,b   URL schemes that installed apps open (default: none)
  --pane LABEL              open the installed pane with this label at launch
  --screen WxH              the screen's size in points (default: 390x844)
  --scale N                 pixels per point, 1 to 4 (default: 3)
  --size-class compact|regular
                            the screen's horizontal size class (default: compact)
  --manifest-server URL     where libmerrow downloads its manifest (default: a dev server started on
                            127.0.0.1 serving the example content)
  --help                    show this text

It runs until interrupted (SIGINT or SIGTERM), then stops cleanly with status 0. Exit status 1 when
the address cannot be bound, 2 for bad usage.
)";
}

} // namespace corvale::preview
