#include "platform/foundation/NSOperatingSystemVersion.h"

#include <array>
#include <charconv>

namespace platform {

namespace {

std::optional<std::int64_t> parseVersionPart(std::string_view digits) {
    if (digits.empty())
        return std::nullopt;
    for (char c : digits)
        if (c < '0' || c > '9')
            return std::nullopt;
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

int compareParts(std::int64_t a, std::int64_t b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

} // namespace

std::optional<NSOperatingSystemVersion> parseVersion(std::string_view text) {
    std::array<std::int64_t, 3> parts{};
    std::size_t count = 0;
    while (true) {
        if (count == parts.size())
            return std::nullopt;
        std::size_t dot = text.find('.');
        auto part = parseVersionPart(text.substr(0, dot));
        if (!part)
            return std::nullopt;
        parts[count++] = *part;
        if (dot == std::string_view::npos)
            break;
        text.remove_prefix(dot + 1);
    }
    return NSOperatingSystemVersion{parts[0], parts[1], parts[2]};
}

int compareVersions(NSOperatingSystemVersion a, NSOperatingSystemVersion b) {
    if (int major = compareParts(a.majorVersion, b.majorVersion))
        return major;
    if (int minor = compareParts(a.minorVersion, b.minorVersion))
        return minor;
    return compareParts(a.patchVersion, b.patchVersion);
}

std::string versionString(NSOperatingSystemVersion version) {
    std::string text = std::to_string(version.majorVersion) + "." + std::to_string(version.minorVersion);
    if (version.patchVersion != 0)
        text += "." + std::to_string(version.patchVersion);
    return text;
}

} // namespace platform
