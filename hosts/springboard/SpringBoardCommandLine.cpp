#include "hosts/springboard/SpringBoardCommandLine.h"

#include <charconv>
#include <utility>

#include "hosts/common/ArgumentReader.h"
#include "hosts/common/RejectedUsage.h"

namespace corvale::springboardhost {

namespace {

using Kind = SpringBoardStep::Kind;

SpringBoardCommandLine rejectedUsage(std::string message) {
    return hosts::rejectedUsage<SpringBoardCommandLine>(std::move(message));
}

std::optional<Kind> stepKind(std::string_view word) {
    static const std::pair<std::string_view, Kind> kinds[] = {
        {"launch", Kind::launch},   {"wait-manifest", Kind::waitManifest},
        {"unlock", Kind::unlock},   {"dump", Kind::dump},
        {"frames", Kind::frames},   {"tap", Kind::tap},
        {"render", Kind::render},   {"record", Kind::record},
        {"restart", Kind::restart},
    };
    for (const auto& [name, kind] : kinds)
        if (name == word)
            return kind;
    return std::nullopt;
}

template <class Number> std::optional<Number> parseNumber(std::string_view text) {
    Number number{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

// Reads a step's operand; a message when it is missing or malformed.
std::optional<std::string> readOperand(SpringBoardStep& step, std::string_view word,
                                       hosts::ArgumentReader& reader) {
    if (step.kind != Kind::frames && step.kind != Kind::tap && step.kind != Kind::render &&
        step.kind != Kind::record)
        return std::nullopt;
    auto operand = reader.value();
    if (!operand)
        return std::string(word) + (step.kind == Kind::frames ? " needs a number of frames"
                                    : step.kind == Kind::tap  ? " needs an action title"
                                                              : " needs a file name");
    step.operand = std::string(*operand);
    if (step.kind == Kind::record) {
        auto length = reader.value();
        auto seconds = length ? parseNumber<double>(*length) : std::nullopt;
        if (!seconds || !(*seconds > 0 && *seconds <= 60))
            return "record " + step.operand + " needs a length in seconds, from more than 0 to 60";
        step.seconds = *seconds;
        return std::nullopt;
    }
    if (step.kind != Kind::frames)
        return std::nullopt;
    auto count = parseNumber<long>(step.operand);
    if (!count || *count < 0)
        return "frames takes a whole number of frames, not '" + step.operand + "'";
    step.count = *count;
    return std::nullopt;
}

// One option and its value; a message when it is unknown or its value is malformed.
std::optional<std::string> readOption(SpringBoardCommandLine& commandLine, std::string_view option,
                                      std::string_view value) {
    if (hosts::DeviceOptions::isDeviceOption(option)) {
        return commandLine.device.take(option, value);
    } else if (option == "--seed") {
        commandLine.seed = parseNumber<std::uint64_t>(value);
        if (!commandLine.seed)
            return "--seed takes a whole number, not '" + std::string(value) + "'";
    } else {
        return "unknown option " + std::string(option);
    }
    return std::nullopt;
}

} // namespace

SpringBoardCommandLine SpringBoardCommandLine::parse(const std::vector<std::string_view>& arguments) {
    SpringBoardCommandLine commandLine;
    hosts::ArgumentReader reader(arguments);
    while (!reader.atEnd()) {
        const std::size_t first = reader.position();
        std::string_view word = reader.next();
        if ((word == "--help" || word == "-h") && !reader.hasAttachedValue()) {
            SpringBoardCommandLine help;
            help.action = Action::showHelp;
            return help;
        }
        if (auto kind = stepKind(word)) {
            SpringBoardStep step;
            step.kind = *kind;
            if (auto problem = readOperand(step, word, reader))
                return rejectedUsage(*problem);
            step.firstArgument = first;
            step.endArgument = reader.position();
            commandLine.steps.push_back(std::move(step));
            continue;
        }
        if (!word.starts_with("--"))
            return rejectedUsage("unknown step '" + std::string(word) + "'");
        auto value = reader.value();
        if (!value || value->empty())
            return rejectedUsage(std::string(word) + " needs a value");
        if (auto problem = readOption(commandLine, word, *value))
            return rejectedUsage(*problem);
    }
    if (commandLine.steps.empty())
        return rejectedUsage("no steps given");
    if (auto problem = commandLine.device.conflict())
        return rejectedUsage(*problem);
    return commandLine;
}

std::string SpringBoardCommandLine::helpText() {
    return R"(Usage: merrow-springboard [options] step...

Plays SpringBoard on the simulated device: defines its classes, loads the libraries under
/Library/MobileSubstrate/DynamicLibraries whose filter names com.apple.springboard, then runs the
steps in order. The media clock is a manual one: time moves only with `frames`.

Steps:
  launch            SpringBoard finished launching (applicationDidFinishLaunching:)
  wait-manifest     run the main run loop until the follow manifest's download has settled
                    (at most 20 seconds of real time)
  unlock            one unlock: finishUIUnlockFromSource: then lockScreenViewControllerDidDismiss
  dump              print one JSON line: the prompt state in memory and on disk, whether a manifest
                    is held, the presented alert (title, message, footer, actions, header with its
                    avatar, icon and the names in the cloud) and the events since the last dump
  frames N          advance the clock N display frames of 1/60 s, running the run loop each frame
  tap TITLE         tap the action with that title in the presented alert
  render FILE.png   draw the screen into a PNG at the screen's scale
  record FILE.gif S play S seconds of display frames and write them (20 a second, 2x, cropped to
                    the presented alert's card, else the whole screen) as a looping GIF
  restart           a new SpringBoard process: memory cleared, preferences kept (the remaining
                    steps run in it)

Options:
  --device-root DIR         the folder that plays the device's "/" (default: $CORVALE_DEVICE_ROOT,
                            else the current directory)
  --os X.Y.Z                the iOS version the device runs (default: 14.0)
  --appearance light|dark   the device's appearance (default: light; dark needs iOS 13 or later)
  --installed-schemes a,b   URL schemes that installed apps open (default: none)
  --seed N                  seed the random source (arc4random_uniform) for a repeatable run
  --help                    show this text

The manifest comes from $MERROW_MANIFEST_SERVER (plain http only for 127.0.0.1).

Exit status: 0 when every step ran; 1 when a step cannot run (no alert or no such action to tap, a
render that failed, a download that did not settle); 2 for bad usage.
)";
}

} // namespace corvale::springboardhost
