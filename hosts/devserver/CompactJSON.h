#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace corvale::devserver {

// One line of JSON without any whitespace, object keys in byte order. Bytes that are not UTF-8 (only
// possible in text taken from a request path) become U+FFFD instead of failing.
std::string compactJSON(const nlohmann::json& value);

// Parses without exceptions; a discarded value means the text was not JSON.
nlohmann::json parseJSON(std::string_view text);

} // namespace corvale::devserver
