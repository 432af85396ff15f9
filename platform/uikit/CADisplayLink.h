#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "platform/runtime/NSObject.h"
#include "platform/uikit/NSRunLoop.h"

// Calls its target once per display frame while it is scheduled on the run loop (in at least one
// mode) and not paused.
//
// Frames fall on a fixed grid of the media clock (60 per second). The link fires on the first run
// loop turn at or after each frame; when the clock jumped over several frames (a manual clock moved
// far, a busy main thread) it fires once, as a display drops frames it could not show. The target is
// sent the selector through the runtime (with the link as argument when the selector takes one). The
// run loop holds a scheduled link; the link holds its target weakly (so a view that owns its link
// makes no cycle), and a link whose target is gone invalidates itself. invalidate() unschedules the
// link for good.
//
// A link belongs to the app that was current when it was made (SimulatedDevice's application
// identifier). While that app is suspended, as an app off the screen is, its links do not fire; they
// go on from the next frame once it is resumed. Hosts that run two apps in one process rely on it.
class CADisplayLink : public NSObject {
public:
    static constexpr double kFramesPerSecond = 60;
    using Handler = std::function<void(const std::shared_ptr<CADisplayLink>& link)>;

    static std::shared_ptr<CADisplayLink> displayLinkWithTarget(const id& target, std::string selector);
    // For C++ code without a runtime class.
    static std::shared_ptr<CADisplayLink> displayLinkWithHandler(Handler handler);

    CADisplayLink();
    ~CADisplayLink() override;

    // Stops (or lets go on) the display links of the app with this identifier. Main thread only.
    static void setApplicationSuspended(const std::string& applicationIdentifier, bool suspended);

    void addToRunLoop(const std::shared_ptr<NSRunLoop>& runLoop, NSRunLoopMode mode);
    void removeFromRunLoop(const std::shared_ptr<NSRunLoop>& runLoop, NSRunLoopMode mode);
    void invalidate();

    // The frame that fired last, and the one after it (0 before the first).
    double timestamp() const { return m_timestamp; }
    double duration() const { return 1.0 / kFramesPerSecond; }
    void setPaused(bool paused);
    bool _isScheduled() const { return !m_modes.empty() && !m_invalidated; }

private:
    void scheduleNextFrame();
    bool isSuspended() const;
    void cancelTimer();
    void fire();

    std::weak_ptr<NSObject> m_target;
    std::string m_selector;
    std::string m_application;
    Handler m_handler;
    std::set<std::string, std::less<>> m_modes;
    std::uint64_t m_timer = 0;
    double m_timestamp = 0;
    bool m_paused = false;
    bool m_invalidated = false;
    bool m_hasTarget = false;
    bool m_known = false;
};

using CADisplayLinkPtr = std::shared_ptr<CADisplayLink>;
