#include "platform/foundation/NSLog.h"

#include <algorithm>
#include <cstdio>

#include "platform/foundation/LogSink.h"

void NSLogv(const char* format, va_list arguments) {
    if (!format)
        return;
    va_list measuring;
    va_copy(measuring, arguments);
    int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    if (length < 0) {
        platform::logMessage(format);
        return;
    }
    std::string message(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(message.data(), message.size(), format, arguments);
    message.resize(static_cast<std::size_t>(length));
    platform::logMessage(message);
}

void NSLog(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    NSLogv(format, arguments);
    va_end(arguments);
}

namespace platform {

void logMessage(std::string_view message) {
    LogSink::shared().write(message);
}

LogCapture::LogCapture() {
    LogSink::shared().attach(this);
}

LogCapture::~LogCapture() {
    LogSink::shared().detach(this);
}

std::vector<std::string> LogCapture::lines() const {
    return LogSink::shared().lines(*this);
}

bool LogCapture::contains(std::string_view text) const {
    auto recorded = lines();
    return std::any_of(recorded.begin(), recorded.end(),
                       [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

} // namespace platform
