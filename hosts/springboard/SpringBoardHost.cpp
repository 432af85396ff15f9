#include "hosts/springboard/SpringBoardHost.h"

#include <chrono>
#include <cmath>
#include <ostream>

#include <nlohmann/json.hpp>

#include "platform/corefoundation/CFPreferences.h"
#include "platform/foundation/MediaClock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/SimulatedDevice.h"
#include "hosts/springboard/AlertDump.h"
#include "hosts/common/ExitStatus.h"
#include "hosts/common/ValueJSON.h"
#include "hosts/springboard/SpringBoardClasses.h"
#include "hosts/springboard/TweakLoader.h"
#include "platform/uikit/CADisplayLink.h"
#include "platform/uikit/DeviceEventLog.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIViewController.h"

#include "platform/render/AlertPainter.h"
#include "platform/render/ScreenRenderer.h"
#include "hosts/springboard/GifRecorder.h"

namespace corvale::springboardhost {

namespace {

using json = nlohmann::ordered_json;
using namespace hosts;

constexpr const char* springBoardIdentifier = "com.apple.springboard";
// The library's preference domain and keys, read as any tool on the device could read them.
constexpr std::string_view promptDomain = "dev.orlan.ios.tweak.lib.libmerrow";
constexpr std::string_view promptKeys[] = {"HasPromptedForFollowV1", "HasPromptedForFollowV2"};
// Where the manual clock starts: display links treat a time of 0 as "never ticked".
constexpr double clockStart = 1000;
constexpr auto manifestWaitLimit = std::chrono::seconds(20);

Class coordinatorClass() {
    return objc_getClass("ZRMerrowAlertCoordinator");
}

id sharedCoordinator() {
    return objc_msgSendClass(coordinatorClass(), "sharedCoordinator").object();
}

json promptStateJSON() {
    json state;
    Class promptState = objc_getClass("ZRMerrowPromptState");
    state["inMemory"] = promptState
                            ? json(objc_msgSendClass(promptState, "hasPromptedForFollow").value().boolValue())
                            : json(nullptr);
    state["key"] = promptState
                       ? json(objc_msgSendClass(promptState, "currentPromptKey").value().stringValue())
                       : json(nullptr);
    json stored = json::object();
    for (auto key : promptKeys)
        stored[std::string(key)] = ValueJSON::from(CFPreferencesCopyAppValue(key, promptDomain));
    state["stored"] = stored;
    return state;
}

} // namespace

SpringBoardHost::SpringBoardHost(std::ostream& out, std::ostream& err)
    : m_out(out), m_err(err), m_clock(std::make_shared<platform::ManualClock>(clockStart)) {
    platform::setMediaClock(m_clock);
    platform::SimulatedDevice::setApplicationIdentifier(springBoardIdentifier);
    SpringBoardClasses::registerClasses();
    m_springBoard = SpringBoardClasses::makeSpringBoard();
    m_lockScreenManager = SpringBoardClasses::makeLockScreenManager();

    m_window = std::make_shared<UIWindow>();
    m_window->initWithFrame(UIScreen::mainScreen()->bounds());
    auto home = std::make_shared<UIViewController>();
    home->view()->setBackgroundColor(UIColor::colorWithRed(0.16, 0.22, 0.33, 1));
    m_window->setRootViewController(home);
}

void SpringBoardHost::loadTweaks() {
    auto result = TweakLoader::loadLibrariesFor(springBoardIdentifier);
    for (const auto& problem : result.problems)
        m_err << "merrow-springboard: " << problem << '\n';
    m_loadedLibraries = result.loaded;
    m_window->makeKeyAndVisible();
}

int SpringBoardHost::run(const std::vector<SpringBoardStep>& steps, std::size_t* restartAt) {
    *restartAt = steps.size();
    for (std::size_t index = 0; index < steps.size(); ++index) {
        if (steps[index].kind == SpringBoardStep::Kind::restart) {
            *restartAt = index;
            return exitSuccess;
        }
        if (int status = runStep(steps[index]); status != exitSuccess)
            return status;
    }
    return exitSuccess;
}

int SpringBoardHost::runStep(const SpringBoardStep& step) {
    using Kind = SpringBoardStep::Kind;
    int status = exitSuccess;
    switch (step.kind) {
    case Kind::launch:
        objc_msgSend(m_springBoard, "applicationDidFinishLaunching:", {m_springBoard});
        break;
    case Kind::waitManifest:
        status = waitForManifest();
        break;
    case Kind::unlock:
        objc_msgSend(m_lockScreenManager, "finishUIUnlockFromSource:", {Value(1)});
        objc_msgSend(m_lockScreenManager, "lockScreenViewControllerDidDismiss");
        break;
    case Kind::dump:
        settle();
        dump();
        break;
    case Kind::frames:
        advanceFrames(step.count);
        break;
    case Kind::tap:
        status = tap(step.operand);
        break;
    case Kind::render:
        status = render(step.operand);
        break;
    case Kind::record:
        status = record(step.operand, step.seconds);
        break;
    case Kind::restart:
        break;
    }
    settle();
    return status;
}

void SpringBoardHost::settle() {
    platform::RunLoop::main().runUntilIdle();
    m_window->layoutIfNeeded();
}

int SpringBoardHost::waitForManifest() {
    id coordinator = coordinatorClass() ? sharedCoordinator() : nullptr;
    if (!coordinator)
        return exitSuccess;
    auto settled = [&] { return !objc_msgSend(coordinator, "isDownloadInProgress").value().boolValue(); };
    if (platform::RunLoop::main().runUntil(settled, manifestWaitLimit))
        return exitSuccess;
    m_err << "merrow-springboard: wait-manifest: the download did not settle in " << manifestWaitLimit.count()
          << " seconds\n";
    return exitStepFailed;
}

void SpringBoardHost::advanceFrames(long count) {
    for (long frame = 0; frame < count; ++frame) {
        // Set from the frame count rather than added up, so that rounding never leaves the clock a
        // hair before a frame boundary (where the display link would skip that frame).
        ++m_frame;
        m_clock->set(clockStart + static_cast<double>(m_frame) / CADisplayLink::kFramesPerSecond);
        platform::RunLoop::main().runOnce();
        m_window->layoutIfNeeded();
    }
}

std::shared_ptr<UIAlertController> SpringBoardHost::presentedAlert() const {
    auto root = m_window->rootViewController();
    return std::dynamic_pointer_cast<UIAlertController>(root ? root->presentedViewController() : nullptr);
}

int SpringBoardHost::tap(const std::string& title) {
    auto alert = presentedAlert();
    if (!alert) {
        m_err << "merrow-springboard: tap " << title << ": no alert is presented\n";
        return exitStepFailed;
    }
    if (!platform::tapAlertAction(alert, title)) {
        m_err << "merrow-springboard: tap " << title << ": the alert has no such action\n";
        return exitStepFailed;
    }
    return exitSuccess;
}

int SpringBoardHost::render(const std::string& path) {
    std::string problem;
    if (platform::render::renderWindowToPNG(*m_window, platform::SimulatedDevice::screenScale(), path,
                                            &problem))
        return exitSuccess;
    m_err << "merrow-springboard: render " << path << ": " << problem << '\n';
    return exitStepFailed;
}

int SpringBoardHost::record(const std::string& path, double seconds) {
    constexpr double scale = 2;
    constexpr long displayFramesPerImage = 3; // 20 images a second, 5 hundredths apart
    const CGSize screen = m_window->bounds().size;
    CGRect crop = m_window->bounds();
    if (auto alert = presentedAlert())
        crop = CGRectIntersection(
            CGRectInset(platform::render::AlertPainter::layout(*alert, screen).card, -12, -12), crop);
    GifRecorder recorder(CGRectMake(crop.origin.x * scale, crop.origin.y * scale, crop.size.width * scale,
                                    crop.size.height * scale),
                         5);
    const long images = std::lround(seconds * CADisplayLink::kFramesPerSecond / displayFramesPerImage);
    std::string problem;
    for (long image = 0; image < images; ++image) {
        auto canvas = platform::render::renderWindow(*m_window, scale, &problem);
        if (!canvas || !recorder.addFrame(canvas->toBitmap())) {
            m_err << "merrow-springboard: record " << path << ": "
                  << (canvas ? "a frame is off the screen" : problem) << '\n';
            return exitStepFailed;
        }
        advanceFrames(displayFramesPerImage);
    }
    if (recorder.write(path, &problem))
        return exitSuccess;
    m_err << "merrow-springboard: record " << path << ": " << problem << '\n';
    return exitStepFailed;
}

void SpringBoardHost::dump() {
    id coordinator = coordinatorClass() ? sharedCoordinator() : nullptr;
    json events = json::array();
    for (const auto& event : platform::DeviceEventLog::shared().take())
        events.push_back(ValueJSON::from(event));
    json line{
        {"os", platform::versionString(platform::SimulatedDevice::osVersion())},
        {"libraries", m_loadedLibraries},
        {"springBoard", ValueJSON::from(SpringBoardClasses::callCounts())},
        {"promptState", promptStateJSON()},
        {"manifestHeld",
         coordinator ? objc_msgSend(coordinator, "canPresentAlert").value().boolValue() : false},
        {"alert", AlertDump::describe(presentedAlert())},
        {"events", events},
    };
    m_out << line.dump() << std::endl;
}

} // namespace corvale::springboardhost
