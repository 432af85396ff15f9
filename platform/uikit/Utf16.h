#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// The platform counts string lengths in UTF-16 code units; our strings are UTF-8. Malformed bytes
// count as one unit each.
std::size_t utf16Length(std::string_view utf8);
// The byte offset of a UTF-16 index (the end of the string for an index past it).
std::size_t utf8OffsetOfUtf16Index(std::string_view utf8, std::size_t index);

} // namespace platform
