#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace corvale::devserver {

// One JSON line per answered request, {"method","path","status"}, flushed at once so that a process
// watching the file sees each request as soon as it has been answered. The file is replaced when
// the log is opened. Requests are answered on several threads; lines never interleave.
class RequestLog {
public:
    static std::unique_ptr<RequestLog> open(const std::filesystem::path& file,
                                            std::string* problem = nullptr);

    void record(std::string_view method, std::string_view path, int status);

private:
    explicit RequestLog(std::ofstream stream);

    std::mutex m_mutex;
    std::ofstream m_stream;
};

} // namespace corvale::devserver
