#pragma once

#include <cstddef>
#include <string_view>

namespace corvale::devserver {

// Tweak and asset names arrive from the request path and become one file name inside the content
// folder, so anything that could name another folder (separators, "..", a leading dot), a hidden
// file or an unprintable byte is refused before the file system sees it.
constexpr std::size_t maximumResourceNameLength = 255;

bool isAcceptableResourceName(std::string_view name);

} // namespace corvale::devserver
