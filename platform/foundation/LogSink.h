#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class LogCapture;

// Where NSLog's lines go: stderr, or the live LogCaptures. One lock keeps lines whole.
class LogSink {
public:
    static LogSink& shared();

    void write(std::string_view message);
    void attach(LogCapture* capture);
    void detach(LogCapture* capture);
    std::vector<std::string> lines(const LogCapture& capture) const;

private:
    LogSink() = default;

    mutable std::mutex m_mutex;
    std::vector<LogCapture*> m_captures;
};

} // namespace platform
