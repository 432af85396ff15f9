#include "hosts/preview/SpringBoardSession.h"

#include <filesystem>
#include <system_error>

#include "hosts/common/ExitStatus.h"
#include "platform/corefoundation/PreferencesStore.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/MediaClock.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/render/ScreenRenderer.h"
#include "platform/runtime/ObjCRuntime.h"
#include "platform/uikit/CADisplayLink.h"
#include "platform/uikit/ViewAnimator.h"

namespace corvale::preview {

namespace {

using springboardhost::SpringBoardStep;

constexpr const char* springBoardIdentifier = "com.apple.springboard";
constexpr const char* promptStateFile =
    "/var/mobile/Library/Preferences/dev.orlan.ios.tweak.lib.libmerrow.plist";

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

} // namespace

SpringBoardSession::~SpringBoardSession() = default;

void SpringBoardSession::start() {
    // A new SpringBoard reads the device's preferences from disk. The library stays loaded in this
    // process, so it is told to read its prompt state again, as it does when a new process loads it.
    platform::PreferencesStore::shared().resetForNewProcess();
    m_host.reset();
    m_host = std::make_unique<springboardhost::SpringBoardHost>(m_output, m_errors);
    // The host plays frames on a manual clock; the preview shows them as they happen, on real time.
    platform::setMediaClock(nullptr);
    m_host->loadTweaks();
    if (Class promptState = objc_getClass("ZRMerrowPromptState"))
        objc_msgSendClass(promptState, "reloadForNewProcess");
    ++m_restarts;
    m_changed = true;
}

void SpringBoardSession::activate() {
    CADisplayLink::setApplicationSuspended(springBoardIdentifier, false);
    if (!m_host) {
        start();
        return;
    }
    platform::SimulatedDevice::setApplicationIdentifier(springBoardIdentifier);
    m_host->window()->makeKeyAndVisible();
    m_changed = true;
}

void SpringBoardSession::suspend() {
    CADisplayLink::setApplicationSuspended(springBoardIdentifier, true);
}

bool SpringBoardSession::runStep(SpringBoardStep::Kind kind, std::string* error, std::string operand) {
    m_output.str({});
    m_errors.str({});
    SpringBoardStep step;
    step.kind = kind;
    step.operand = std::move(operand);
    std::size_t restartAt = 0;
    bool ran = m_host->run({step}, &restartAt) == hosts::exitSuccess;
    if (!ran && error)
        *error = trimmed(m_errors.str());
    return ran;
}

void SpringBoardSession::clearPromptState() {
    std::error_code ignored;
    std::filesystem::remove(platform::DeviceRoot::resolve(promptStateFile), ignored);
    // What this SpringBoard holds in memory stays until Restart, as on the device.
    platform::PreferencesStore::shared().resetForNewProcess();
}

nlohmann::ordered_json SpringBoardSession::perform(const nlohmann::json& action) {
    auto type = action.value("type", std::string());
    m_lastError.clear();
    bool ran = true;
    if (!m_host)
        activate();
    if (type == "launch") {
        ran = runStep(SpringBoardStep::Kind::launch, &m_lastError) &&
              runStep(SpringBoardStep::Kind::waitManifest, &m_lastError);
    } else if (type == "alert") {
        // The alert's action with this title, as the host's `tap` step answers it.
        ran = runStep(SpringBoardStep::Kind::tap, &m_lastError, action.value("title", std::string()));
    } else if (type == "unlock") {
        ran = runStep(SpringBoardStep::Kind::unlock, &m_lastError);
    } else if (type == "restart") {
        start();
    } else if (type == "clear-prompt-state") {
        clearPromptState();
    } else {
        ran = false;
        m_lastError = "unknown SpringBoard action '" + type + "'";
    }
    m_changed = true;
    if (ran)
        return {{"ok", true}};
    return {{"ok", false}, {"error", m_lastError}};
}

std::optional<platform::render::Canvas> SpringBoardSession::drawScreen() {
    if (!m_host)
        return std::nullopt;
    return platform::render::renderWindow(*m_host->window(), platform::SimulatedDevice::screenScale());
}

nlohmann::ordered_json SpringBoardSession::dump() {
    std::string error;
    if (!runStep(SpringBoardStep::Kind::dump, &error))
        return {{"error", error}};
    auto line = nlohmann::ordered_json::parse(m_output.str(), nullptr, false);
    if (line.is_discarded())
        return {{"error", "the dump printed no JSON"}};
    return line;
}

nlohmann::ordered_json SpringBoardSession::state() {
    return {{"restarts", m_restarts},
            {"error",
             m_lastError.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(m_lastError)},
            {"dump", m_host ? dump() : nlohmann::ordered_json(nullptr)}};
}

bool SpringBoardSession::moving() const {
    return m_host && (m_host->presentedAlert() ||
                      platform::ViewAnimator::shared().runningAnimationCount(springBoardIdentifier) > 0);
}

bool SpringBoardSession::takeChanged() {
    return std::exchange(m_changed, false);
}

} // namespace corvale::preview
