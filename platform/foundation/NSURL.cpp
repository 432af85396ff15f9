#include "platform/foundation/NSURL.h"

#include "platform/runtime/ObjCRuntime.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/PercentEncoding.h"

using platform::PercentEncoding;
using Allowed = PercentEncoding::Allowed;

namespace {

[[maybe_unused]] const Class registeredNSURL = platform::registerClass<NSURL>("NSURL");

constexpr int largestPort = 65535;

bool isDecimal(std::string_view text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// The value of a short run of decimal digits (callers check isDecimal and the length first).
int decimalValue(std::string_view digits) {
    int value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

bool isIPv4Address(std::string_view text) {
    int parts = 0;
    while (true) {
        std::size_t dot = text.find('.');
        std::string_view part = text.substr(0, dot);
        if (!isDecimal(part) || part.size() > 3 || decimalValue(part) > 255)
            return false;
        ++parts;
        if (dot == std::string_view::npos)
            break;
        text.remove_prefix(dot + 1);
    }
    return parts == 4;
}

// How many 16-bit groups a run of ':'-separated groups stands for (an IPv4 tail counts two), or -1
// when a group is malformed.
int countIPv6Groups(std::string_view run, bool mayEndInIPv4) {
    int groups = 0;
    while (true) {
        std::size_t colon = run.find(':');
        std::string_view group = run.substr(0, colon);
        bool last = colon == std::string_view::npos;
        if (last && mayEndInIPv4 && group.find('.') != std::string_view::npos)
            return isIPv4Address(group) ? groups + 2 : -1;
        if (group.empty() || group.size() > 4)
            return -1;
        for (char c : group)
            if (!PercentEncoding::isHexDigit(c))
                return -1;
        ++groups;
        if (last)
            return groups;
        run.remove_prefix(colon + 1);
    }
}

bool isIPv6Address(std::string_view text) {
    std::size_t elision = text.find("::");
    if (elision == std::string_view::npos)
        return countIPv6Groups(text, true) == 8;
    if (text.find("::", elision + 1) != std::string_view::npos)
        return false;
    std::string_view before = text.substr(0, elision);
    std::string_view after = text.substr(elision + 2);
    int leading = before.empty() ? 0 : countIPv6Groups(before, false);
    int trailing = after.empty() ? 0 : countIPv6Groups(after, true);
    return leading >= 0 && trailing >= 0 && leading + trailing <= 7;
}

// "v" 1*HEXDIG "." 1*( unreserved / sub-delims / ":" )
bool isIPvFuture(std::string_view text) {
    if (text.size() < 4 || (text[0] != 'v' && text[0] != 'V'))
        return false;
    std::size_t dot = text.find('.');
    if (dot == std::string_view::npos || dot < 2 || dot + 1 == text.size())
        return false;
    for (char c : text.substr(1, dot - 1))
        if (!PercentEncoding::isHexDigit(c))
            return false;
    for (char c : text.substr(dot + 1))
        if (!PercentEncoding::isAllowed(c, Allowed::UserInfo))
            return false;
    return true;
}

bool isValidPort(std::string_view text, std::optional<int>& port) {
    if (text.empty())
        return true; // "host:" is allowed and means the scheme's default port
    if (!isDecimal(text) || text.size() > 5)
        return false;
    int value = decimalValue(text);
    if (value > largestPort)
        return false;
    port = value;
    return true;
}

struct Authority {
    std::optional<std::string> userInfo;
    std::string host;
    std::optional<int> port;
};

// host and port: "[ip-literal]" or a registered name, then ":port" optionally.
bool parseHostAndPort(std::string_view text, Authority& authority) {
    std::string_view portText;
    bool hasPort = false;
    if (!text.empty() && text.front() == '[') {
        std::size_t close = text.find(']');
        if (close == std::string_view::npos)
            return false;
        std::string_view literal = text.substr(1, close - 1);
        if (!isIPv6Address(literal) && !isIPvFuture(literal))
            return false;
        authority.host = std::string(text.substr(0, close + 1));
        std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':')
                return false;
            hasPort = true;
            portText = rest.substr(1);
        }
    } else {
        std::size_t colon = text.find(':');
        std::string_view name = text.substr(0, colon);
        if (!PercentEncoding::isValid(name, Allowed::Host))
            return false;
        authority.host = std::string(name);
        if (colon != std::string_view::npos) {
            hasPort = true;
            portText = text.substr(colon + 1);
        }
    }
    return !hasPort || isValidPort(portText, authority.port);
}

bool parseAuthority(std::string_view text, Authority& authority) {
    std::size_t at = text.find('@');
    if (at != std::string_view::npos) {
        std::string_view userInfo = text.substr(0, at);
        if (!PercentEncoding::isValid(userInfo, Allowed::UserInfo))
            return false;
        authority.userInfo = std::string(userInfo);
        text.remove_prefix(at + 1);
    }
    return parseHostAndPort(text, authority);
}

// Splits off what follows the first `separator`; nil when there is none.
std::optional<std::string_view> splitOffTail(std::string_view& text, char separator) {
    std::size_t position = text.find(separator);
    if (position == std::string_view::npos)
        return std::nullopt;
    std::string_view tail = text.substr(position + 1);
    text = text.substr(0, position);
    return tail;
}

bool hasOnlyURLCharacters(std::string_view text) {
    for (char c : text)
        if (!PercentEncoding::isURLCharacter(c))
            return false;
    return true;
}

std::string_view lastComponentOf(std::string_view path) {
    if (path.empty() || path == "/")
        return path;
    return path.substr(path.rfind('/') + 1);
}

bool isDirectoryOnDevice(std::string_view devicePath) {
    std::error_code ignored;
    return std::filesystem::is_directory(platform::DeviceRoot::resolve(devicePath), ignored);
}

} // namespace

std::shared_ptr<NSURL> NSURL::URLWithString(std::string_view string) {
    if (string.empty() || !hasOnlyURLCharacters(string))
        return nullptr;
    auto url = make();
    url->m_string = std::string(string);

    std::string_view rest = string;
    if (auto fragment = splitOffTail(rest, '#')) {
        if (!PercentEncoding::isValid(*fragment, Allowed::Fragment))
            return nullptr;
        url->m_fragment = std::string(*fragment);
    }
    if (auto query = splitOffTail(rest, '?')) {
        if (!PercentEncoding::isValid(*query, Allowed::Query))
            return nullptr;
        url->m_query = std::string(*query);
    }
    // A ':' before any '/' ends a scheme; a relative reference cannot have one in its first segment.
    std::size_t colon = rest.find(':');
    if (colon != std::string_view::npos && colon < rest.find('/')) {
        std::string_view scheme = rest.substr(0, colon);
        if (!PercentEncoding::isValidScheme(scheme))
            return nullptr;
        url->m_scheme = std::string(scheme);
        rest.remove_prefix(colon + 1);
    }
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        std::size_t pathStart = rest.find('/');
        std::string_view authorityText = rest.substr(0, pathStart);
        Authority authority;
        if (!parseAuthority(authorityText, authority))
            return nullptr;
        url->m_authority = std::string(authorityText);
        url->m_userInfo = std::move(authority.userInfo);
        url->m_host = std::move(authority.host);
        url->m_port = authority.port;
        rest = pathStart == std::string_view::npos ? std::string_view() : rest.substr(pathStart);
    }
    if (!PercentEncoding::isValid(rest, Allowed::Path))
        return nullptr;
    url->m_path = std::string(rest);
    return url;
}

std::shared_ptr<NSURL> NSURL::fileURLWithPath(std::string_view path) {
    std::string absolute = path.starts_with('/') ? std::string(path) : "/" + std::string(path);
    if (!absolute.ends_with('/') && isDirectoryOnDevice(absolute))
        absolute += '/';
    return URLWithString("file://" + PercentEncoding::encode(absolute, Allowed::Path));
}

std::shared_ptr<NSURL> NSURL::withEncodedPath(std::string encodedPath) const {
    // Without a scheme or authority, a ':' in the first segment would read as a scheme and a leading
    // "//" as an authority: "./" keeps the path a path.
    if (!m_scheme && !m_authority) {
        std::size_t colon = encodedPath.find(':');
        if ((colon != std::string::npos && colon < encodedPath.find('/')) || encodedPath.starts_with("//"))
            encodedPath.insert(0, "./");
    } else if (!m_authority && encodedPath.starts_with("//")) {
        encodedPath.insert(0, "/.");
    }
    std::string string;
    if (m_scheme)
        string += *m_scheme + ":";
    if (m_authority)
        string += "//" + *m_authority;
    string += encodedPath;
    if (m_query)
        string += "?" + *m_query;
    if (m_fragment)
        string += "#" + *m_fragment;
    return URLWithString(string);
}

std::shared_ptr<NSURL> NSURL::URLByAppendingPathComponent(std::string_view component) const {
    std::string encoded = PercentEncoding::encode(component, Allowed::Path);
    std::string path = m_path;
    if (path.empty() && m_authority)
        path = "/";
    if (!path.empty() && !path.ends_with('/') && !encoded.starts_with('/'))
        path += '/';
    if (path.ends_with('/') && encoded.starts_with('/'))
        encoded.erase(0, 1);
    path += encoded;
    // As on the platform, a file URL that names a folder ends in '/'.
    if (isFileURL() && !path.ends_with('/') && isDirectoryOnDevice(PercentEncoding::decode(path)))
        path += '/';
    return withEncodedPath(std::move(path));
}

std::shared_ptr<NSURL> NSURL::URLByDeletingLastPathComponent() const {
    std::string path = m_path;
    if (path.size() > 1 && path.ends_with('/'))
        path.pop_back();
    std::size_t slash = path.rfind('/');
    // The root stays the root, and a lone relative segment leaves the current folder.
    if (slash != std::string::npos)
        path = path.substr(0, slash + 1);
    else
        path = m_authority ? "/" : "./";
    return withEncodedPath(std::move(path));
}

std::optional<std::string> NSURL::host() const {
    if (m_host.empty())
        return std::nullopt;
    if (m_host.front() == '[')
        return m_host.substr(1, m_host.size() - 2);
    return PercentEncoding::decode(m_host);
}

std::optional<std::string> NSURL::user() const {
    if (!m_userInfo)
        return std::nullopt;
    return PercentEncoding::decode(std::string_view(*m_userInfo).substr(0, m_userInfo->find(':')));
}

std::optional<std::string> NSURL::password() const {
    if (!m_userInfo)
        return std::nullopt;
    std::size_t colon = m_userInfo->find(':');
    if (colon == std::string::npos)
        return std::nullopt;
    return PercentEncoding::decode(std::string_view(*m_userInfo).substr(colon + 1));
}

std::string NSURL::path() const {
    std::string decoded = PercentEncoding::decode(m_path);
    if (decoded.size() > 1 && decoded.ends_with('/'))
        decoded.pop_back();
    return decoded;
}

std::string NSURL::lastPathComponent() const {
    return std::string(lastComponentOf(path()));
}

std::string NSURL::pathExtension() const {
    std::string component = lastPathComponent();
    std::size_t dot = component.rfind('.');
    // ".profile" is a name, not an extension; "name." has none either.
    if (dot == std::string::npos || dot == 0 || dot + 1 == component.size())
        return {};
    return component.substr(dot + 1);
}

bool NSURL::isFileURL() const {
    if (!m_scheme || m_scheme->size() != 4)
        return false;
    std::string lowered;
    for (char c : *m_scheme)
        lowered += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return lowered == "file";
}
