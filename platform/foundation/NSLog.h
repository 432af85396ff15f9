#pragma once

#include <cstdarg>
#include <string>
#include <string_view>
#include <vector>

// Writes one line to stderr as "<program>[<pid>] <message>", with a newline added unless the message
// ends with one. Lines from different threads never interleave.
void NSLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
void NSLogv(const char* format, va_list arguments) __attribute__((format(printf, 1, 0)));

namespace platform {

// Logs a message as it is, with no format directives to get wrong.
void logMessage(std::string_view message);

// While a LogCapture exists, logged lines are recorded (without the "<program>[<pid>] " prefix or
// the newline) instead of printed; every capture alive at the time records the line.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> lines() const;
    // Whether some recorded line contains the text.
    bool contains(std::string_view text) const;

private:
    friend class LogSink;
    std::vector<std::string> m_lines; // guarded by the log sink's lock
};

} // namespace platform
