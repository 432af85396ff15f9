#include "hosts/devserver/RequestLog.h"

#include <nlohmann/json.hpp>

#include "hosts/devserver/CompactJSON.h"

namespace corvale::devserver {

std::unique_ptr<RequestLog> RequestLog::open(const std::filesystem::path& file, std::string* problem) {
    std::ofstream stream(file, std::ios::out | std::ios::trunc | std::ios::binary);
    if (!stream) {
        if (problem) {
            *problem = "cannot write the request log " + file.string();
        }
        return nullptr;
    }
    return std::unique_ptr<RequestLog>(new RequestLog(std::move(stream)));
}

RequestLog::RequestLog(std::ofstream stream) : m_stream(std::move(stream)) {}

void RequestLog::record(std::string_view method, std::string_view path, int status) {
    nlohmann::json line = {{"method", method}, {"path", path}, {"status", status}};
    auto text = compactJSON(line) + "\n";
    std::lock_guard lock(m_mutex);
    m_stream << text;
    m_stream.flush();
}

} // namespace corvale::devserver
