#include "hosts/preview/PreviewSession.h"

#include <algorithm>
#include <system_error>

#include "hosts/preview/NavigationPath.h"
#include "hosts/preview/PreviewDevice.h"
#include "hosts/settings/PaneLint.h"
#include "hosts/settings/PreferenceLoaderEntry.h"
#include "hosts/settings/SystemServices.h"
#include "platform/corefoundation/PreferencesStore.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/render/ScreenRenderer.h"
#include "platform/uikit/CADisplayLink.h"
#include "platform/uikit/SimulatedKeyboard.h"
#include "platform/uikit/ViewAnimator.h"

namespace corvale::preview {

namespace {

using settingshost::HostStep;
using settingshost::PreferenceLoaderEntry;
using settingshost::SettingsApplication;

// The panel keeps the latest events; older ones have long scrolled away.
constexpr std::size_t eventLogLength = 200;
constexpr const char* settingsApplicationIdentifier = "com.apple.Preferences";
// The device's state that a fresh install would not have: every preference domain of the user and
// what apps cache (the pane's credits and their pictures live under Application Support).
constexpr const char* deviceStateFolders[] = {"/var/mobile/Library/Preferences", "/var/mobile/Library/Caches",
                                              "/var/mobile/Library/Application Support"};

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

// The JSON lines a step printed.
std::vector<nlohmann::ordered_json> jsonLines(const std::string& text) {
    std::vector<nlohmann::ordered_json> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        if (!line.empty())
            lines.push_back(nlohmann::ordered_json::parse(line, nullptr, false));
    return lines;
}

HostStep step(HostStep::Kind kind) {
    HostStep made;
    made.kind = kind;
    return made;
}

} // namespace

PreviewSession::PreviewSession(std::optional<std::string> initialPane)
    : m_initialPane(std::move(initialPane)),
      m_openApplication(std::make_shared<std::weak_ptr<SettingsApplication>>()) {
    // The runtime keeps generateURL for the life of the process, so it holds the app weakly.
    settingshost::SystemServices::installGenerateURL([open = m_openApplication] {
        auto application = open->lock();
        return application ? application->navigationPosition() : std::string();
    });
    launch({});
}

PreviewSession::~PreviewSession() {
    quit();
}

void PreviewSession::launch(const std::string& position) {
    // A new process starts from the files on disk, not from what the last one held in memory. What it
    // starts (display links, animations) is the Settings app's, whichever tab is shown.
    platform::PreferencesStore::shared().resetForNewProcess();
    platform::SimulatedDevice::setApplicationIdentifier(settingsApplicationIdentifier);
    auto path = NavigationPath::parse(position);
    std::string problem;
    auto application = SettingsApplication::launch(path.paneLabel ? path.paneLabel : m_initialPane, &problem);
    // The pane may have been renamed by the change that caused the restart.
    if (!application && path.paneLabel && path.paneLabel != m_initialPane)
        application = SettingsApplication::launch(m_initialPane, &problem);
    ++m_restarts;
    m_changed = true;
    m_lintedBundle = "\n"; // no bundle path: the lint runs again
    if (!application) {
        m_launchProblem = problem;
        return;
    }
    m_launchProblem.clear();
    m_application = std::move(application);
    *m_openApplication = m_application;
    m_runner = std::make_unique<settingshost::StepRunner>(*m_application, m_output, m_errors);
    if (position == "prefs:" && m_application->entry())
        m_application->goHome();
    reopenPages(path.rowIdentifiers);
}

void PreviewSession::reopenPages(const std::vector<std::string>& rowIdentifiers) {
    for (const auto& identifier : rowIdentifiers) {
        auto page = m_application->topPage();
        auto row = page ? page->specifierForID(identifier) : nullptr;
        if (!row)
            return;
        HostStep tap = step(HostStep::Kind::tap);
        tap.name = row->name();
        if (!runStep(tap))
            return;
    }
}

void PreviewSession::quit() {
    if (!m_application)
        return;
    dump(); // the events of the app's last moments still reach the log
    m_position = m_application->navigationPosition();
    m_runner.reset();
    m_openApplication->reset();
    m_application.reset();
}

void PreviewSession::restart() {
    quit();
    launch(m_position);
}

void PreviewSession::activate() {
    CADisplayLink::setApplicationSuspended(settingsApplicationIdentifier, false);
    platform::SimulatedDevice::setApplicationIdentifier(settingsApplicationIdentifier);
    if (m_application)
        m_application->window()->makeKeyAndVisible();
    m_changed = true;
}

void PreviewSession::suspend() {
    CADisplayLink::setApplicationSuspended(settingsApplicationIdentifier, true);
}

bool PreviewSession::runStep(HostStep hostStep, std::string* error) {
    if (!m_runner) {
        if (error)
            *error = "the app is not open: " + m_launchProblem;
        return false;
    }
    m_output.str({});
    m_errors.str({});
    bool ran = m_runner->run({std::move(hostStep)}) != settingshost::exitStepFailed;
    if (!ran && error)
        *error = trimmed(m_errors.str());
    return ran;
}

// The host's own tap-at step, which also answers a presented alert through its buttons.
bool PreviewSession::tapAt(CGPoint point) {
    HostStep tap = step(HostStep::Kind::tapAt);
    tap.point = point;
    return runStep(tap, &m_lastError);
}

bool PreviewSession::scrollBy(double points) {
    auto page = m_application ? m_application->topPage() : nullptr;
    if (!page)
        return false;
    // The drag stops where the list's content ends, as the device's rubber band settles.
    const auto& table = page->table();
    auto inset = table->adjustedContentInset();
    double lowest = -inset.top;
    double highest =
        std::max(lowest, table->contentSize().height - table->bounds().size.height + inset.bottom);
    HostStep scroll = step(HostStep::Kind::scroll);
    scroll.value = Value(std::clamp(table->contentOffset().y + points, lowest, highest));
    return runStep(scroll, &m_lastError);
}

void PreviewSession::resetDeviceState() {
    quit();
    for (const char* folder : deviceStateFolders) {
        std::error_code ignored;
        std::filesystem::remove_all(platform::DeviceRoot::resolve(folder), ignored);
    }
    launch(m_position);
}

nlohmann::ordered_json PreviewSession::perform(const nlohmann::json& action) {
    auto type = action.value("type", std::string());
    bool ran = true;
    m_lastError.clear();
    if (type == "tap") {
        ran = tapAt({action.value("x", 0.0), action.value("y", 0.0)});
    } else if (type == "alert") {
        HostStep answer = step(HostStep::Kind::alert);
        answer.name = action.value("title", std::string());
        ran = runStep(answer, &m_lastError);
    } else if (type == "scroll") {
        ran = scrollBy(action.value("by", 0.0));
    } else if (type == "text") {
        HostStep type = step(HostStep::Kind::type);
        type.name = action.value("text", std::string());
        ran = runStep(type, &m_lastError);
    } else if (type == "delete") {
        // The host has no step for the delete key; the keyboard itself takes it.
        ran = m_application && platform::SimulatedKeyboard::deleteBackward(*m_application->window());
        if (!ran)
            m_lastError = "delete: no field is being edited; tap one first";
    } else if (type == "return" || type == "back" || type == "home") {
        ran = runStep(step(type == "return" ? HostStep::Kind::returnKey
                           : type == "back" ? HostStep::Kind::back
                                            : HostStep::Kind::home),
                      &m_lastError);
    } else if (type == "reset") {
        resetDeviceState();
    } else if (type == "device") {
        auto problem = PreviewDevice::change(action);
        if (problem)
            m_lastError = *problem;
        else
            restart();
        ran = !problem;
    } else if (type == "restart") {
        restart();
    } else {
        ran = false;
        m_lastError = "unknown action '" + type + "'";
    }
    m_changed = true;
    if (ran)
        return {{"ok", true}};
    return {{"ok", false}, {"error", m_lastError}};
}

std::optional<platform::render::Canvas> PreviewSession::drawScreen() {
    if (!m_application)
        return std::nullopt;
    return platform::render::renderWindow(*m_application->window(), platform::SimulatedDevice::screenScale());
}

nlohmann::ordered_json PreviewSession::dump() {
    std::string error;
    if (!runStep(step(HostStep::Kind::dump), &error))
        return {{"error", error}};
    auto lines = jsonLines(m_output.str());
    if (lines.empty() || lines.front().is_discarded())
        return {{"error", "the dump printed no JSON"}};
    for (const auto& event : lines.front().value("events", nlohmann::ordered_json::array())) {
        m_events.push_back({{"n", ++m_eventCount}, {"event", event}});
        if (m_events.size() > eventLogLength)
            m_events.pop_front();
    }
    return lines.front();
}

void PreviewSession::refreshLint() {
    const auto& bundle = m_application ? m_application->paneBundle() : nullptr;
    std::string bundlePath = bundle ? bundle->bundlePath() : std::string();
    if (bundlePath == m_lintedBundle)
        return;
    m_lintedBundle = bundlePath;
    m_lintNote.clear();
    if (!m_application) {
        m_lint = lintWithoutApp();
        return;
    }
    m_lint = nlohmann::ordered_json::array();
    if (!bundle) {
        m_lintNote = "no pane with a bundle is open";
        return;
    }
    std::string error;
    if (!runStep(step(HostStep::Kind::lint), &error))
        m_lintNote = error;
    else
        m_lintNote = trimmed(m_errors.str());
    for (auto& line : jsonLines(m_output.str()))
        if (!line.is_discarded())
            m_lint.push_back(std::move(line));
}

nlohmann::ordered_json PreviewSession::lintWithoutApp() const {
    // The pane did not load, so its colour parser is not there; the rest is checked all the same.
    auto problems = nlohmann::ordered_json::array();
    std::string ignored;
    for (const auto& entry : PreferenceLoaderEntry::findAll(&ignored)) {
        if (entry.isSimplePane())
            continue;
        auto bundle = NSBundle::bundleWithPath(entry.bundlePath());
        auto tweakName =
            bundle ? bundle->objectForInfoDictionaryKey("KVTweakName").stringValue() : std::string();
        settingshost::PaneLint lint(entry.bundlePath(), tweakName, {});
        for (const auto& problem : lint.run())
            problems.push_back(settingshost::StepRunner::lintLine(problem));
    }
    return problems;
}

nlohmann::ordered_json PreviewSession::state() {
    nlohmann::ordered_json dumped = m_application ? dump() : nlohmann::ordered_json(nullptr);
    refreshLint();
    bool keyboard = m_application && platform::SimulatedKeyboard::isShown(*m_application->window());
    nlohmann::ordered_json events(nlohmann::ordered_json::value_t::array);
    for (const auto& event : m_events)
        events.push_back(event);
    return {{"restarts", m_restarts},
            {"position", m_application ? m_application->navigationPosition() : m_position},
            {"device", PreviewDevice::current()},
            {"problem", m_launchProblem.empty() ? nlohmann::ordered_json(nullptr)
                                                : nlohmann::ordered_json(m_launchProblem)},
            {"error",
             m_lastError.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(m_lastError)},
            {"keyboard", keyboard},
            {"dump", dumped},
            {"events", events},
            {"lint", m_lint},
            {"lintNote", m_lintNote}};
}

std::vector<std::filesystem::path> PreviewSession::watchedFolders() const {
    // The entries folder's parent, so that a first pane installed into a device without the folder
    // is seen too.
    auto entries = platform::DeviceRoot::resolve(PreferenceLoaderEntry::entriesFolder);
    std::vector<std::filesystem::path> folders{entries.parent_path()};
    std::string ignored;
    for (const auto& entry : PreferenceLoaderEntry::findAll(&ignored))
        if (!entry.isSimplePane())
            folders.push_back(platform::DeviceRoot::resolve(entry.bundlePath()));
    return folders;
}

bool PreviewSession::moving() const {
    return m_application &&
           platform::ViewAnimator::shared().runningAnimationCount(settingsApplicationIdentifier) > 0;
}

bool PreviewSession::takeChanged() {
    return std::exchange(m_changed, false);
}

} // namespace corvale::preview
