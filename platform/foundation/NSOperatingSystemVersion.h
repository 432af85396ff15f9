#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// An OS release as "major.minor.patch".
struct NSOperatingSystemVersion {
    std::int64_t majorVersion = 0;
    std::int64_t minorVersion = 0;
    std::int64_t patchVersion = 0;

    friend bool operator==(const NSOperatingSystemVersion&, const NSOperatingSystemVersion&) = default;
};

namespace platform {

// "13", "12.4" and "13.4.1" (missing parts are 0); nothing for anything else: an empty part, a sign,
// a letter, a fourth part, or a number too large for the field.
std::optional<NSOperatingSystemVersion> parseVersion(std::string_view text);
// -1, 0 or 1 as `a` is older than, the same as or newer than `b`.
int compareVersions(NSOperatingSystemVersion a, NSOperatingSystemVersion b);
// "13.4.1"; "14.0" when the patch is 0, as the platform names releases.
std::string versionString(NSOperatingSystemVersion version);

} // namespace platform
