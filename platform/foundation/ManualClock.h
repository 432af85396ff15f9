#pragma once

#include <atomic>
#include <memory>

#include "platform/foundation/MediaClock.h"

namespace platform {

// A clock that moves only when told to: tests drive animations, timers and display links with it
// frame by frame. Starts at the given time (0 by default). Thread-safe; moving it wakes the main run
// loop so a runUntil waiting for a timer sees the new time.
class ManualClock : public MediaClock {
public:
    explicit ManualClock(double start = 0) : m_now(start) {}

    double now() const override;
    void advance(double seconds);
    void set(double seconds);

private:
    std::atomic<double> m_now;
};

// Installs a fresh ManualClock for the life of the scope and restores the previous clock after.
// Main-run-loop timers scheduled while it was installed die with it (their times mean nothing on
// another clock).
class ScopedManualClock {
public:
    explicit ScopedManualClock(double start = 0);
    ~ScopedManualClock();
    ScopedManualClock(const ScopedManualClock&) = delete;
    ScopedManualClock& operator=(const ScopedManualClock&) = delete;

    ManualClock& clock() { return *m_clock; }
    double now() const { return m_clock->now(); }
    void advance(double seconds) { m_clock->advance(seconds); }
    void set(double seconds) { m_clock->set(seconds); }

private:
    std::shared_ptr<ManualClock> m_clock;
    std::shared_ptr<MediaClock> m_previous;
};

} // namespace platform
