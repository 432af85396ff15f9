#include "hosts/devserver/ResourceName.h"

#include <algorithm>

namespace corvale::devserver {

namespace {

bool isRefusedByte(char character) {
    auto byte = static_cast<unsigned char>(character);
    return byte < 0x20 || byte == 0x7f || character == '/' || character == '\\';
}

} // namespace

bool isAcceptableResourceName(std::string_view name) {
    if (name.empty() || name.size() > maximumResourceNameLength) {
        return false;
    }
    if (name.front() == '.' || name.find("..") != std::string_view::npos) {
        return false;
    }
    return std::none_of(name.begin(), name.end(), isRefusedByte);
}

} // namespace corvale::devserver
