#pragma once

#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "hosts/springboard/SpringBoardHost.h"
#include "platform/render/Canvas.h"

namespace corvale::preview {

// SpringBoard with its tweaks (libmerrow among them) on the preview's main thread, driven through the
// SpringBoard host's own steps: Launch is `launch` then `wait-manifest`, Unlock is `unlock`, the
// panel's JSON is `dump`.
//
// The platform has one key window, one application identifier and one set of preference caches per
// process, so SpringBoard and the Settings app cannot both be on screen: the preview keeps both
// sessions and makes one active at a time (activate).
class SpringBoardSession {
public:
    SpringBoardSession() = default;
    ~SpringBoardSession();
    SpringBoardSession(const SpringBoardSession&) = delete;
    SpringBoardSession& operator=(const SpringBoardSession&) = delete;

    // Makes SpringBoard the app the device shows, starting it the first time.
    void activate();
    // Takes it off the screen: its display links (the name cloud's) stop until it is activated again.
    void suspend();

    // {"type": "launch"}, {"type": "unlock"}, {"type": "alert", "title"} (an action of the alert), {"type":
    // "restart"} (a new SpringBoard on the same device) or {"type": "clear-prompt-state"}; {"ok": true} or
    // {"ok": false, "error": "..."}.
    nlohmann::ordered_json perform(const nlohmann::json& action);

    // The screen drawn at the device's scale; empty before the first activation.
    std::optional<platform::render::Canvas> drawScreen();
    nlohmann::ordered_json state();
    // Whether something on screen moves by itself: the follow alert's name cloud runs while it is up.
    bool moving() const;
    bool takeChanged();

private:
    void start();
    // Whether the host's step ran; else its message in *error.
    bool runStep(springboardhost::SpringBoardStep::Kind kind, std::string* error, std::string operand = {});
    nlohmann::ordered_json dump();
    void clearPromptState();

    std::ostringstream m_output;
    std::ostringstream m_errors;
    std::unique_ptr<springboardhost::SpringBoardHost> m_host;
    std::string m_lastError;
    std::uint64_t m_restarts = 0;
    bool m_changed = true;
};

} // namespace corvale::preview
