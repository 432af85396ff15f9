#include "hosts/devserver/CompactJSON.h"

namespace corvale::devserver {

std::string compactJSON(const nlohmann::json& value) {
    return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

nlohmann::json parseJSON(std::string_view text) {
    return nlohmann::json::parse(text, nullptr, false);
}

} // namespace corvale::devserver
