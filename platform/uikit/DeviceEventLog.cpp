#include "platform/uikit/DeviceEventLog.h"

#include <utility>

namespace platform {

DeviceEventLog& DeviceEventLog::shared() {
    static DeviceEventLog log;
    return log;
}

void DeviceEventLog::record(Value event) {
    std::lock_guard lock(m_mutex);
    m_events.push_back(std::move(event));
}

std::vector<Value> DeviceEventLog::take() {
    std::lock_guard lock(m_mutex);
    return std::exchange(m_events, {});
}

std::vector<Value> DeviceEventLog::events() const {
    std::lock_guard lock(m_mutex);
    return m_events;
}

} // namespace platform
