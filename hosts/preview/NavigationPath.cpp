#include "hosts/preview/NavigationPath.h"

#include "platform/foundation/PercentEncoding.h"

namespace corvale::preview {

namespace {

std::vector<std::string> decodedParts(std::string_view text) {
    std::vector<std::string> parts;
    while (!text.empty()) {
        auto slash = text.find('/');
        parts.push_back(platform::PercentEncoding::decode(text.substr(0, slash)));
        if (slash == std::string_view::npos)
            break;
        text.remove_prefix(slash + 1);
    }
    return parts;
}

} // namespace

NavigationPath NavigationPath::parse(std::string_view position) {
    NavigationPath path;
    constexpr std::string_view prefix = "prefs:";
    if (!position.starts_with(prefix))
        return path;
    position.remove_prefix(prefix.size());
    while (!position.empty()) {
        auto ampersand = position.find('&');
        auto part = position.substr(0, ampersand);
        if (part.starts_with("root="))
            path.paneLabel = platform::PercentEncoding::decode(part.substr(5));
        else if (part.starts_with("path="))
            path.rowIdentifiers = decodedParts(part.substr(5));
        if (ampersand == std::string_view::npos)
            break;
        position.remove_prefix(ampersand + 1);
    }
    return path;
}

} // namespace corvale::preview
