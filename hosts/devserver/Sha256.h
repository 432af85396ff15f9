#pragma once

#include <string>
#include <string_view>

namespace corvale::devserver {

// Lower-case hexadecimal SHA-256 of the bytes: the one digest every hash this server hands out uses.
std::string sha256Hex(std::string_view bytes);

} // namespace corvale::devserver
