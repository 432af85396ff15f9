#pragma once

#include <string>
#include <string_view>

namespace corvale {

// Where the credits caches live on the device: the credits file of each tweak and, under "Assets",
// the cached pictures.
inline constexpr std::string_view creditsSupportDirectory =
    "/var/mobile/Library/Application Support/HalcyraMobileSupport/Preferences";

// The credits server's base URL without a trailing slash: $CORVALE_CREDITS_SERVER when it is set and
// not empty, else the compiled-in default (CORVALE_DEFAULT_CREDITS_SERVER).
std::string creditsServerBaseURL();

// Asset names come from the server and become file names in the assets directory, so only a single,
// ordinary path component is accepted: not empty, not "." or "..", no '/' or NUL, at most 255 bytes.
bool isAcceptableAssetName(std::string_view name);

} // namespace corvale
