#pragma once

#include <atomic>
#include <chrono>
#include <optional>
#include <string>

#include "hosts/preview/FrameStore.h"
#include "hosts/preview/MainThreadQueue.h"
#include "hosts/preview/PaneWatcher.h"
#include "hosts/preview/PreviewTabs.h"
#include "platform/render/Canvas.h"

namespace corvale::preview {

// The main thread's loop: turns the platform's run loop, runs the actions the server hands over,
// restarts the app when a watched file changed, and publishes a frame when something may have
// changed on screen (an action, a restart, a timer such as a display link's, a running animation,
// the follow alert's name cloud).
// A screen drawn exactly as the last one is not encoded again (timers often change nothing), and the
// FrameStore drops a frame whose picture and state are both the last ones.
class PreviewLoop {
public:
    PreviewLoop(PreviewTabs& tabs, FrameStore& frames, MainThreadQueue& mainThread);

    // Until `stop` holds.
    void run(const std::atomic<bool>& stop);

private:
    void turn(const std::atomic<bool>& stop);
    // How long the run loop may wait before the next look.
    std::chrono::milliseconds slice() const;
    bool moving() const;
    void reloadWhenSettled();
    void publish();

    PreviewTabs& m_tabs;
    FrameStore& m_frames;
    MainThreadQueue& m_mainThread;
    PaneWatcher m_watcher;
    // When the last burst of file changes is over; a save often writes several files.
    std::optional<std::chrono::steady_clock::time_point> m_reloadAt;
    std::chrono::steady_clock::time_point m_lastPublish;
    std::optional<platform::render::Canvas> m_lastScreen;
    std::string m_lastImage;
};

} // namespace corvale::preview
