#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/foundation/MediaClock.h"

namespace platform {

// The main run loop: the main queue's blocks and the timers of dispatch_after and display links.
// Whoever drives it (a host's loop, a test) runs the work on its own thread; by convention that is
// the main thread. Blocks run in the order they were queued; timers run by fire time on the media
// clock, ties in the order they were added. Work queued or scheduled while a turn runs waits for the
// next turn, so a block that re-queues itself cannot starve the caller.
class RunLoop {
public:
    static RunLoop& main();

    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

    // Queues a block (the main queue's dispatch_async).
    void post(std::function<void()> block);

    // Runs the blocks queued now and the timers due now on the media clock; whether anything ran.
    bool runOnce();
    // Turns until a turn finds nothing queued or due.
    void runUntilIdle(std::size_t maximumTurns = 10000);
    // Runs posted work as it arrives until done() holds or the real-time timeout passes, sleeping on a
    // condition variable in between (it also re-checks done() every few milliseconds, for conditions
    // that other threads change without posting). Returns done().
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds realTimeout);

    // A timer at fireTime on the media clock in use now; the token cancels it (0 for an empty block).
    // A timer whose clock is no longer used by anybody (a test's manual clock that went away) is
    // dropped instead of run.
    std::uint64_t addTimer(double fireTime, std::function<void()> block);
    void cancelTimer(std::uint64_t token);
    std::optional<double> nextTimerFireTime() const;
    std::size_t timerCount() const;
    std::size_t queuedBlockCount() const;

    // Wakes a runUntil that is waiting, e.g. because the media clock moved.
    void wakeUp();
    void discardTimersOfRetiredClocks();

private:
    struct Timer {
        std::function<void()> block;
        std::weak_ptr<MediaClock> clock;
    };
    using TimerKey = std::pair<double, std::uint64_t>; // fire time, then token

    RunLoop() = default;
    std::function<void()> takeBlock(std::uint64_t sequenceLimit);
    std::function<void()> takeDueTimer(double now, std::uint64_t tokenLimit);
    void changedLocked();
    std::chrono::steady_clock::duration waitSliceLocked() const;

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::uint64_t m_changeCount = 0;
    std::deque<std::pair<std::uint64_t, std::function<void()>>> m_blocks; // sequence, block
    std::uint64_t m_nextSequence = 1;
    std::map<TimerKey, Timer> m_timers;
    std::unordered_map<std::uint64_t, double> m_timerFireTimes;
    std::uint64_t m_nextToken = 1;
};

// Whether the calling thread is the main thread: the process's initial thread, unless
// markMainThread() named another.
bool isMainThread();
void markMainThread();

} // namespace platform
