#include "settings/credits/CreditsLocations.h"

#include <cstdlib>
#include <string>

#include "platform/foundation/PathComponent.h"

#ifndef CORVALE_DEFAULT_CREDITS_SERVER
#define CORVALE_DEFAULT_CREDITS_SERVER "https://credits.halcyra.example"
#endif

namespace corvale {

namespace {

constexpr std::string_view infoFileSuffix = ".json";

} // namespace

std::string creditsServerBaseURL() {
    const char* configured = std::getenv("CORVALE_CREDITS_SERVER");
    std::string base = configured && *configured ? configured : CORVALE_DEFAULT_CREDITS_SERVER;
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    return base;
}

bool isAcceptableAssetName(std::string_view name) {
    return platform::isSinglePathComponent(name) && !name.ends_with(infoFileSuffix);
}

bool isAcceptableTweakName(std::string_view name) {
    return platform::isSinglePathComponent(name) &&
           platform::isSinglePathComponent(std::string(name) + std::string(infoFileSuffix));
}

} // namespace corvale
