#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace corvale::devserver {

// The hash served with a tweak's credits: the SHA-256 (lower-case hex) of the compact JSON
// (compactJSON: no whitespace, keys in byte order) of the credits object without its "success" and
// "hash" keys. Any change to what a client would cache, including an asset hash stamped into a logo,
// therefore changes it.
std::string creditsHash(const nlohmann::json& credits);

} // namespace corvale::devserver
