#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvale {

// Where the credits caches live on the device: the credits file of each tweak and, under "Assets",
// the cached pictures.
inline constexpr std::string_view creditsSupportDirectory =
    "/var/mobile/Library/Application Support/HalcyraMobileSupport/Preferences";

// The largest credit picture downloaded: an avatar is shown 58 points wide, and a few megabytes hold
// any sensible picture of it at any screen scale.
inline constexpr std::size_t maximumPictureLength = 4 * 1024 * 1024;

// The credits server's base URL without a trailing slash: $CORVALE_CREDITS_SERVER when it is set and
// not empty, else the compiled-in default (CORVALE_DEFAULT_CREDITS_SERVER).
std::string creditsServerBaseURL();

// Asset names come from the server and become file names in the assets directory, so only a single
// path component is accepted, and not one ending in ".json", which names another asset's info file.
bool isAcceptableAssetName(std::string_view name);

// The tweak name comes from the bundle's Info.plist and names the credits cache file ("<name>.json")
// and the server path: both must be single path components (platform::isSinglePathComponent).
bool isAcceptableTweakName(std::string_view name);

} // namespace corvale
