#include "platform/corefoundation/DarwinNotificationLog.h"

#include <utility>

namespace platform {

DarwinNotificationLog& DarwinNotificationLog::shared() {
    // Never destroyed: a background queue may still post while the process exits.
    static auto* log = new DarwinNotificationLog;
    return *log;
}

void DarwinNotificationLog::record(std::string_view name) {
    std::lock_guard lock(m_mutex);
    m_posted.emplace_back(name);
}

std::vector<std::string> DarwinNotificationLog::takePosted() {
    std::lock_guard lock(m_mutex);
    return std::exchange(m_posted, {});
}

} // namespace platform
