#pragma once

#include <string_view>

namespace platform {

// Whether a name taken from outside (a server, a bundle) can stand as one file name in a folder:
// not empty, not "." or "..", no '/' or NUL, at most 255 bytes.
bool isSinglePathComponent(std::string_view name);

} // namespace platform
