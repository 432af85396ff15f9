#include "settings/credits/CreditsLocations.h"

#include <cstdlib>

#ifndef CORVALE_DEFAULT_CREDITS_SERVER
#define CORVALE_DEFAULT_CREDITS_SERVER "https://credits.halcyra.example"
#endif

namespace corvale {

std::string creditsServerBaseURL() {
    const char* configured = std::getenv("CORVALE_CREDITS_SERVER");
    std::string base = configured && *configured ? configured : CORVALE_DEFAULT_CREDITS_SERVER;
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    return base;
}

bool isAcceptableAssetName(std::string_view name) {
    constexpr std::size_t longestFileName = 255;
    if (name.empty() || name.size() > longestFileName || name == "." || name == "..")
        return false;
    return name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

} // namespace corvale
