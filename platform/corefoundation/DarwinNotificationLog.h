#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Every name posted to the Darwin notify centre in this process, in posting order. Hosts report it
// ("posted notifications") and tests inspect it; on a device these posts would reach other processes.
class DarwinNotificationLog {
public:
    static DarwinNotificationLog& shared();

    void record(std::string_view name);
    // The names posted since the last take, oldest first; the log is empty afterwards.
    std::vector<std::string> takePosted();

private:
    std::mutex m_mutex;
    std::vector<std::string> m_posted;
};

} // namespace platform
