#include "platform/foundation/RunLoop.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>
#include <unistd.h>

#include "platform/foundation/NSLog.h"

namespace platform {

namespace {

// How often runUntil re-checks its condition when nothing is posted.
constexpr auto pollInterval = std::chrono::milliseconds(5);

std::atomic<std::thread::id> markedMainThread{};

void runBlock(const std::function<void()>& block) {
    try {
        block();
    } catch (const std::exception& exception) {
        NSLog("main run loop: a block threw: %s", exception.what());
    } catch (...) {
        NSLog("main run loop: a block threw");
    }
}

} // namespace

RunLoop& RunLoop::main() {
    // Never destroyed: blocks and timers may still be queued while static objects go away at exit.
    static auto* mainRunLoop = new RunLoop;
    return *mainRunLoop;
}

void RunLoop::changedLocked() {
    ++m_changeCount;
    m_changed.notify_all();
}

void RunLoop::post(std::function<void()> block) {
    if (!block)
        return;
    std::lock_guard lock(m_mutex);
    m_blocks.emplace_back(m_nextSequence++, std::move(block));
    changedLocked();
}

std::function<void()> RunLoop::takeBlock(std::uint64_t sequenceLimit) {
    std::lock_guard lock(m_mutex);
    if (m_blocks.empty() || m_blocks.front().first >= sequenceLimit)
        return {};
    auto block = std::move(m_blocks.front().second);
    m_blocks.pop_front();
    return block;
}

std::function<void()> RunLoop::takeDueTimer(double now, std::uint64_t tokenLimit) {
    std::vector<Timer> retired; // destroyed after the lock is released
    std::lock_guard lock(m_mutex);
    for (auto timer = m_timers.begin(); timer != m_timers.end() && timer->first.first <= now;) {
        auto token = timer->first.second;
        if (token >= tokenLimit) {
            ++timer;
            continue;
        }
        m_timerFireTimes.erase(token);
        Timer taken = std::move(timer->second);
        timer = m_timers.erase(timer);
        if (!taken.clock.expired())
            return std::move(taken.block);
        retired.push_back(std::move(taken));
    }
    return {};
}

bool RunLoop::runOnce() {
    double now = CACurrentMediaTime();
    std::uint64_t sequenceLimit = 0;
    std::uint64_t tokenLimit = 0;
    {
        std::lock_guard lock(m_mutex);
        sequenceLimit = m_nextSequence;
        tokenLimit = m_nextToken;
    }
    bool ran = false;
    while (auto block = takeBlock(sequenceLimit)) {
        runBlock(block);
        ran = true;
    }
    while (auto timer = takeDueTimer(now, tokenLimit)) {
        runBlock(timer);
        ran = true;
    }
    return ran;
}

void RunLoop::runUntilIdle(std::size_t maximumTurns) {
    for (std::size_t turn = 0; turn < maximumTurns; ++turn) {
        if (!runOnce())
            return;
    }
}

std::chrono::steady_clock::duration RunLoop::waitSliceLocked() const {
    std::chrono::steady_clock::duration slice = pollInterval;
    if (!m_timers.empty()) {
        // Media seconds stand in for real ones: exact for the real clock, a mere re-check otherwise.
        auto untilTimer = std::chrono::duration<double>(m_timers.begin()->first.first - CACurrentMediaTime());
        slice = std::clamp(std::chrono::duration_cast<std::chrono::steady_clock::duration>(untilTimer),
                           std::chrono::steady_clock::duration::zero(), slice);
    }
    return slice;
}

bool RunLoop::runUntil(const std::function<bool()>& done, std::chrono::milliseconds realTimeout) {
    auto deadline = std::chrono::steady_clock::now() + realTimeout;
    for (;;) {
        if (done())
            return true;
        std::uint64_t seenChanges = 0;
        {
            std::lock_guard lock(m_mutex);
            seenChanges = m_changeCount;
        }
        if (runOnce())
            continue;
        auto now = std::chrono::steady_clock::now();
        if (now >= deadline)
            return done();
        std::unique_lock lock(m_mutex);
        m_changed.wait_until(lock, std::min(deadline, now + waitSliceLocked()),
                             [&] { return m_changeCount != seenChanges; });
    }
}

std::uint64_t RunLoop::addTimer(double fireTime, std::function<void()> block) {
    if (!block)
        return 0;
    auto clock = currentMediaClock();
    std::lock_guard lock(m_mutex);
    auto token = m_nextToken++;
    m_timers.emplace(TimerKey{fireTime, token}, Timer{std::move(block), clock});
    m_timerFireTimes.emplace(token, fireTime);
    changedLocked();
    return token;
}

void RunLoop::cancelTimer(std::uint64_t token) {
    std::function<void()> cancelled; // destroyed after the lock is released
    std::lock_guard lock(m_mutex);
    auto fireTime = m_timerFireTimes.find(token);
    if (fireTime == m_timerFireTimes.end())
        return;
    auto timer = m_timers.find(TimerKey{fireTime->second, token});
    if (timer != m_timers.end()) {
        cancelled = std::move(timer->second.block);
        m_timers.erase(timer);
    }
    m_timerFireTimes.erase(fireTime);
}

std::optional<double> RunLoop::nextTimerFireTime() const {
    std::lock_guard lock(m_mutex);
    if (m_timers.empty())
        return std::nullopt;
    return m_timers.begin()->first.first;
}

std::size_t RunLoop::timerCount() const {
    std::lock_guard lock(m_mutex);
    return m_timers.size();
}

std::size_t RunLoop::queuedBlockCount() const {
    std::lock_guard lock(m_mutex);
    return m_blocks.size();
}

void RunLoop::wakeUp() {
    std::lock_guard lock(m_mutex);
    changedLocked();
}

void RunLoop::discardTimersOfRetiredClocks() {
    std::vector<Timer> retired; // destroyed after the lock is released
    std::lock_guard lock(m_mutex);
    for (auto timer = m_timers.begin(); timer != m_timers.end();) {
        if (timer->second.clock.expired()) {
            m_timerFireTimes.erase(timer->first.second);
            retired.push_back(std::move(timer->second));
            timer = m_timers.erase(timer);
        } else {
            ++timer;
        }
    }
}

bool isMainThread() {
    auto marked = markedMainThread.load();
    if (marked != std::thread::id())
        return marked == std::this_thread::get_id();
    return gettid() == getpid();
}

void markMainThread() {
    markedMainThread.store(std::this_thread::get_id());
}

} // namespace platform
