#include "platform/foundation/MediaClock.h"

#include <chrono>
#include <mutex>

#include "platform/foundation/ManualClock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/SteadyMediaClock.h"

namespace platform {

namespace {

struct ClockSlot {
    std::mutex mutex;
    std::shared_ptr<MediaClock> realClock = std::make_shared<SteadyMediaClock>();
    std::shared_ptr<MediaClock> current = realClock;
};

ClockSlot& slot() {
    // Never destroyed: background threads may read the time during exit.
    static auto* clockSlot = new ClockSlot;
    return *clockSlot;
}

} // namespace

MediaClock::~MediaClock() = default;

double SteadyMediaClock::now() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::shared_ptr<MediaClock> currentMediaClock() {
    auto& clockSlot = slot();
    std::lock_guard lock(clockSlot.mutex);
    return clockSlot.current;
}

void setMediaClock(std::shared_ptr<MediaClock> clock) {
    auto& clockSlot = slot();
    std::shared_ptr<MediaClock> replaced;
    {
        std::lock_guard lock(clockSlot.mutex);
        replaced = std::exchange(clockSlot.current, clock ? std::move(clock) : clockSlot.realClock);
    }
    RunLoop::main().wakeUp();
}

double ManualClock::now() const {
    return m_now.load();
}

void ManualClock::advance(double seconds) {
    double current = m_now.load();
    while (!m_now.compare_exchange_weak(current, current + seconds)) {
    }
    RunLoop::main().wakeUp();
}

void ManualClock::set(double seconds) {
    m_now.store(seconds);
    RunLoop::main().wakeUp();
}

ScopedManualClock::ScopedManualClock(double start)
    : m_clock(std::make_shared<ManualClock>(start)), m_previous(currentMediaClock()) {
    setMediaClock(m_clock);
}

ScopedManualClock::~ScopedManualClock() {
    setMediaClock(m_previous);
    // Timers hold the clock they were scheduled on only weakly; letting go of ours retires them.
    m_clock.reset();
    RunLoop::main().discardTimersOfRetiredClocks();
}

} // namespace platform

double CACurrentMediaTime() {
    return platform::currentMediaClock()->now();
}
