#include "hosts/settings/CommandLine.h"

#include <cmath>
#include <cstdlib>
#include <optional>
#include <utility>

#include "hosts/common/ArgumentReader.h"
#include "hosts/common/OptionValues.h"
#include "hosts/common/RejectedUsage.h"
#include "platform/foundation/NSJSONSerialization.h"
#include "hosts/settings/SystemServices.h"

namespace corvale::settingshost {

namespace {

using hosts::ArgumentReader;

CommandLine rejectedUsage(std::string message) {
    return hosts::rejectedUsage<CommandLine>(std::move(message));
}

namespace optionvalues = hosts::optionvalues;

std::optional<HostStep::Kind> stepKind(std::string_view word) {
    static const std::pair<std::string_view, HostStep::Kind> kinds[] = {
        {"dump", HostStep::Kind::dump},
        {"set", HostStep::Kind::set},
        {"tap", HostStep::Kind::tap},
        {"alert", HostStep::Kind::alert},
        {"back", HostStep::Kind::back},
        {"home", HostStep::Kind::home},
        {"lint", HostStep::Kind::lint},
        {"render", HostStep::Kind::render},
        {"scroll", HostStep::Kind::scroll},
        {"tap-credit", HostStep::Kind::tapCredit},
        {"tap-branding", HostStep::Kind::tapBranding},
        {"wait-credits", HostStep::Kind::waitCredits},
        {"tap-at", HostStep::Kind::tapAt},
        {"type", HostStep::Kind::type},
        {"return", HostStep::Kind::returnKey},
    };
    for (const auto& [name, kind] : kinds)
        if (name == word)
            return kind;
    return std::nullopt;
}

// "tap-credit NAME INDEX": the person's name and the button's index from 0.
std::optional<std::string> readCreditButton(ArgumentReader& reader, HostStep& step) {
    auto name = reader.value();
    auto index = name ? reader.value() : std::nullopt;
    if (!name || !index)
        return "tap-credit needs a credited person's name and a button index";
    step.name = std::string(*name);
    auto number = optionvalues::number(*index);
    if (!number || *number < 0 || *number != std::floor(*number))
        return "tap-credit takes a button index from 0, not '" + std::string(*index) + "'";
    step.index = static_cast<long>(*number);
    return std::nullopt;
}

// "tap-at X Y": a point on the screen.
std::optional<std::string> readScreenPoint(ArgumentReader& reader, HostStep& step) {
    auto x = reader.value();
    auto y = x ? reader.value() : std::nullopt;
    auto xNumber = x ? optionvalues::number(*x) : std::nullopt;
    auto yNumber = y ? optionvalues::number(*y) : std::nullopt;
    if (!xNumber || !yNumber)
        return std::string("tap-at needs a screen point: X and Y in points");
    step.point = {*xNumber, *yNumber};
    return std::nullopt;
}

// Reads the operands of one step; a message when they are missing or malformed.
std::optional<std::string> readStep(HostStep::Kind kind, std::string_view word, ArgumentReader& reader,
                                    HostStep& step) {
    step.kind = kind;
    if (kind == HostStep::Kind::dump || kind == HostStep::Kind::back || kind == HostStep::Kind::home ||
        kind == HostStep::Kind::lint)
        return std::nullopt;
    if (kind == HostStep::Kind::tapBranding || kind == HostStep::Kind::waitCredits ||
        kind == HostStep::Kind::returnKey)
        return std::nullopt;
    if (kind == HostStep::Kind::tapAt)
        return readScreenPoint(reader, step);
    if (kind == HostStep::Kind::tapCredit)
        return readCreditButton(reader, step);
    auto name = reader.value();
    if (!name)
        return std::string(word) + " needs " +
               (kind == HostStep::Kind::set      ? "a row key and a value"
                : kind == HostStep::Kind::render ? "a PNG file"
                : kind == HostStep::Kind::scroll ? "a content offset in points"
                : kind == HostStep::Kind::type   ? "a text"
                                                 : "a name");
    step.name = std::string(*name);
    if (kind == HostStep::Kind::scroll) {
        auto offset = optionvalues::number(*name);
        if (!offset)
            return "scroll takes a content offset in points, not '" + step.name + "'";
        step.value = Value(*offset);
        return std::nullopt;
    }
    if (kind != HostStep::Kind::set)
        return std::nullopt;
    auto literal = reader.value();
    if (!literal)
        return "set " + step.name + " needs a value (a JSON literal such as true, 0 or \"text\")";
    NSErrorPtr error;
    auto value = NSJSONSerialization::JSONObjectWithData(*literal, &error);
    if (!value)
        return "set " + step.name + ": " + std::string(*literal) + " is not a JSON literal";
    step.value = std::move(*value);
    return std::nullopt;
}

} // namespace

CommandLine CommandLine::parse(const std::vector<std::string_view>& arguments) {
    CommandLine commandLine;
    ArgumentReader reader(arguments);
    while (!reader.atEnd()) {
        auto word = reader.next();
        if (word == "--help" || word == "-h") {
            CommandLine help;
            help.action = Action::showHelp;
            return help;
        }
        if (auto kind = stepKind(word)) {
            HostStep step;
            if (auto problem = readStep(*kind, word, reader, step))
                return rejectedUsage(*problem);
            commandLine.steps.push_back(std::move(step));
            continue;
        }
        if (!word.starts_with("--"))
            return rejectedUsage("unknown step '" + std::string(word) + "'");
        auto value = reader.value();
        if (!value || value->empty())
            return rejectedUsage(std::string(word) + " needs a value");
        if (hosts::DeviceOptions::isDeviceOption(word)) {
            if (auto problem = commandLine.device.take(word, *value))
                return rejectedUsage(*problem);
        } else if (word == "--size-class") {
            commandLine.sizeClass = optionvalues::sizeClass(*value);
            if (!commandLine.sizeClass)
                return rejectedUsage("--size-class is compact or regular, not '" + std::string(*value) + "'");
        } else if (word == "--scale") {
            commandLine.scale = optionvalues::scale(*value);
            if (!commandLine.scale)
                return rejectedUsage("--scale takes a number from 1 to 4, not '" + std::string(*value) + "'");
        } else if (word == "--screen") {
            commandLine.screenSize = optionvalues::screenSize(*value);
            if (!commandLine.screenSize)
                return rejectedUsage("--screen takes a size in points such as 390x844, not '" +
                                     std::string(*value) + "'");
        } else if (word == "--pane") {
            commandLine.pane = std::string(*value);
        } else if (word == "--credits-server") {
            commandLine.creditsServer = std::string(*value);
        } else if (word == "--without-class") {
            if (!SystemServices::isServiceClassName(*value))
                return rejectedUsage("--without-class takes PreferencesAppController, FBSSystemService, "
                                     "SBSRelaunchAction or SBSRestartRenderServerAction, not '" +
                                     std::string(*value) + "'");
            commandLine.withoutClasses.emplace(*value);
        } else {
            return rejectedUsage("unknown option " + std::string(word));
        }
    }
    if (commandLine.steps.empty())
        return rejectedUsage("no steps given");
    if (auto problem = commandLine.device.conflict())
        return rejectedUsage(*problem);
    return commandLine;
}

std::string CommandLine::helpText() {
    return R"(Usage: corvale-settings [options] step...

Starts the Settings app of the simulated device, then runs the steps in order. The app's first page
lists the panes installed in /Library/PreferenceLoader/Preferences (each entry's "label" and
"icon"). It opens the pane --pane names at launch; without --pane and with exactly one pane
installed it opens that one, else it shows the list. A pane whose entry file holds "items" of its
own (no "bundle") is shown as a plain list of those rows.

Steps:
  dump              print the page on top as one JSON line: its rows, theme, alert and the events
                    (opened links, posted notifications, restart requests) since the last dump. Each
                    row has its cell's "frame" on screen ([x, y, w, h] in points), "enabled",
                    "valueText" (the value it shows, or null) and "control" (null, or its "type",
                    "value", "frame" and "tintColour"); a list page's rows have "checked"
  set KEY VALUE     change the control of the row whose "key" is KEY, which reports the change as a
                    touch would (a text field ends editing); VALUE is a JSON literal: true, 0, "text"
  tap LABEL         touch the centre of the row with that label (a button's action, a link's page),
                    scrolling it into view first when it is off screen
  tap-at X Y        touch the screen at the point X, Y (points from the top left): whatever view is
                    there gets it (a switch flips, a row is selected, a field starts editing); a
                    presented alert is modal: a touch on its button answers it, elsewhere nothing
  type TEXT         type the text into the field being edited (the keyboard shows while one is)
  return            press the keyboard's return key: editing ends and the field's row stores its text
  alert TITLE       tap the action with that title in the presented alert
  back              go back to the previous page (from a pane opened from the list, to the list)
  home              close the pane and show the list of installed panes
  lint              print the problems of the open pane's property lists as JSON lines
  render FILE.png   draw the screen as it is now (bars, page, any alert on top) into a PNG file at
                    the screen's scale
  tap-credit NAME INDEX
                    tap the service button INDEX (from 0) of the credited person NAME
  tap-branding      tap the maker's button in the navigation bar
  wait-credits      let the app run until the credits and their pictures have arrived (or failed),
                    the rows are rebuilt and the screen has been still for 0.2 s (at most 10 seconds)
  scroll Y          drag the page's list to the raw content offset Y, with the callbacks a drag
                    gives. At rest a page under the bars has a negative offset (minus the top of its
                    adjusted content inset): the dump shows both as contentOffset and insetTop

Options:
  --device-root DIR         the folder that plays the device's "/" (default: $CORVALE_DEVICE_ROOT,
                            else the current directory)
  --os X.Y.Z                the iOS version the device runs (default: 14.0)
  --appearance light|dark   the device's appearance (default: light; dark needs iOS 13 or later)
  --installed-schemes a,b   URL schemes that installed apps open (default: none)
  --pane LABEL              open the installed pane with this label at launch
  --credits-server URL      the credits server's base URL (default: $CORVALE_CREDITS_SERVER, else the
                            built-in one); plain http only on 127.0.0.1
  --screen WxH              the screen's size in points (default: 390x844)
  --scale N                 pixels per point, 1 to 4 (default: 3)
  --size-class compact|regular
                            the screen's horizontal size class (default: compact)
  --without-class NAME      leave a platform class out of the runtime: PreferencesAppController,
                            FBSSystemService, SBSRelaunchAction or SBSRestartRenderServerAction
                            (repeatable)
  --help                    show this text

Exit status: 0 when every step ran; 1 when the pane cannot be opened or a step cannot run (no such
row, no alert, no page to go back to); 2 for bad usage; 3 when lint found problems.
)";
}

} // namespace corvale::settingshost
