#include "platform/foundation/LogSink.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

#include "platform/foundation/NSLog.h"

namespace platform {

LogSink& LogSink::shared() {
    // Never destroyed: static destructors and background threads may still log at exit.
    static auto* sink = new LogSink;
    return *sink;
}

void LogSink::write(std::string_view message) {
    if (!message.empty() && message.back() == '\n')
        message.remove_suffix(1);
    std::lock_guard lock(m_mutex);
    if (!m_captures.empty()) {
        for (auto* capture : m_captures)
            capture->m_lines.emplace_back(message);
        return;
    }
    std::string line = std::string(program_invocation_short_name) + "[" + std::to_string(getpid()) + "] ";
    line.append(message);
    line.push_back('\n');
    // One write per line, so lines stay whole even next to other processes writing to stderr.
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

void LogSink::attach(LogCapture* capture) {
    std::lock_guard lock(m_mutex);
    m_captures.push_back(capture);
}

void LogSink::detach(LogCapture* capture) {
    std::lock_guard lock(m_mutex);
    std::erase(m_captures, capture);
}

std::vector<std::string> LogSink::lines(const LogCapture& capture) const {
    std::lock_guard lock(m_mutex);
    return capture.m_lines;
}

} // namespace platform
