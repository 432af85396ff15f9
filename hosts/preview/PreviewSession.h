#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "hosts/settings/HostStep.h"
#include "hosts/settings/SettingsApplication.h"
#include "hosts/settings/StepRunner.h"
#include "platform/render/Canvas.h"

namespace corvale::preview {

// The Settings app the page shows, on the main thread. Every action goes through the Settings host's
// own StepRunner, as a step of corvale-settings would, so the page shows what the scenario tests
// check: a click is `tap-at`, a drag `scroll`, typing `type` and `return`, the dump is `dump` and
// the lint `lint`.
class PreviewSession {
public:
    explicit PreviewSession(std::optional<std::string> initialPane);
    ~PreviewSession();
    PreviewSession(const PreviewSession&) = delete;
    PreviewSession& operator=(const PreviewSession&) = delete;

    // Quits the app and opens it again as a new process would find the device (preferences read
    // anew from disk), on the pages it showed: the same pane and the rows that opened the pages on
    // top of it, as far as they still exist.
    void restart();
    // Makes the Settings app the one the device shows again (after SpringBoard was).
    void activate();
    // Takes it off the screen: its display links stop until it is activated again.
    void suspend();

    // One action from the page: {"type": "tap", "x", "y"}, {"type": "alert", "title"} (an action of
    // the presented alert), {"type": "scroll", "by"} (points the content moves up), {"type": "text",
    // "text"}, {"type": "delete"} (the delete key), {"type": "return"}, {"type": "back"}, {"type":
    // "home"}, {"type": "reset"} (device state), {"type": "restart"}, {"type": "device", ...options}.
    // {"ok": true} or {"ok": false, "error": "..."}.
    nlohmann::ordered_json perform(const nlohmann::json& action);

    // The screen drawn at the device's scale; empty when no app is open.
    std::optional<platform::render::Canvas> drawScreen();
    // What the panel shows: the dump, the event log, the lint problems, the device options, the
    // problem that kept the app from opening and the last action's error.
    nlohmann::ordered_json state();

    // Host folders whose files the open app reads: the pane entries (from their parent folder on) and
    // each pane's bundle.
    std::vector<std::filesystem::path> watchedFolders() const;
    // Whether an action or a restart changed what the screen may show since the last call.
    bool takeChanged();
    // Whether something in the app's window is animating (another app's animations do not count).
    bool moving() const;

private:
    void launch(const std::string& position);
    void quit();
    void reopenPages(const std::vector<std::string>& rowIdentifiers);
    // Whether the step ran; else the host's message in *error.
    bool runStep(settingshost::HostStep step, std::string* error = nullptr);
    // A touch on the screen; a presented alert's buttons answer it.
    bool tapAt(CGPoint point);
    bool scrollBy(double points);
    void resetDeviceState();
    nlohmann::ordered_json dump();
    void refreshLint();
    nlohmann::ordered_json lintWithoutApp() const;

    std::optional<std::string> m_initialPane;
    std::shared_ptr<std::weak_ptr<settingshost::SettingsApplication>> m_openApplication;
    std::shared_ptr<settingshost::SettingsApplication> m_application;
    std::ostringstream m_output;
    std::ostringstream m_errors;
    // Destroyed before the app it drives.
    std::unique_ptr<settingshost::StepRunner> m_runner;
    // Where the app stood when it last quit: where it reopens when it could not be opened since.
    std::string m_position;
    std::string m_launchProblem;
    std::string m_lastError;
    std::deque<nlohmann::ordered_json> m_events;
    std::uint64_t m_eventCount = 0;
    nlohmann::ordered_json m_lint = nlohmann::ordered_json::array();
    std::string m_lintNote;
    std::string m_lintedBundle;
    std::uint64_t m_restarts = 0;
    bool m_changed = true;
};

} // namespace corvale::preview
