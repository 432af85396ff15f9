#include "platform/foundation/PathComponent.h"

namespace platform {

bool isSinglePathComponent(std::string_view name) {
    constexpr std::size_t longestFileName = 255;
    if (name.empty() || name.size() > longestFileName || name == "." || name == "..")
        return false;
    return name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

} // namespace platform
