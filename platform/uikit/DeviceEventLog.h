#pragma once

#include <mutex>
#include <vector>

#include "platform/foundation/Value.h"

namespace platform {

// What the simulated device did on the application's behalf, in order, as JSON-able values that
// hosts print and tests read: {"openURL": "<url>"}, {"respring": {"via": ..., ...}}. Thread-safe.
class DeviceEventLog {
public:
    static DeviceEventLog& shared();

    void record(Value event);
    // The events recorded since the last take, oldest first; the log is empty afterwards.
    std::vector<Value> take();
    // The events recorded since the last take, left in place.
    std::vector<Value> events() const;

private:
    DeviceEventLog() = default;

    mutable std::mutex m_mutex;
    std::vector<Value> m_events;
};

} // namespace platform
