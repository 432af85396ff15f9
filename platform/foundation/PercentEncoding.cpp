#include "platform/foundation/PercentEncoding.h"

namespace platform {

namespace {

bool isAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isUnreserved(char c) {
    return isAlpha(c) || isDigit(c) || c == '-' || c == '.' || c == '_' || c == '~';
}
bool isSubDelimiter(char c) {
    return std::string_view("!$&'()*+,;=").find(c) != std::string_view::npos;
}
bool isGeneralDelimiter(char c) {
    return std::string_view(":/?#[]@").find(c) != std::string_view::npos;
}

int hexValue(char c) {
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// True when text[index] is '%' and two hex digits follow it.
bool startsEscape(std::string_view text, std::size_t index) {
    return text[index] == '%' && index + 2 < text.size() && hexValue(text[index + 1]) >= 0 &&
           hexValue(text[index + 2]) >= 0;
}

} // namespace

bool PercentEncoding::isAllowed(char c, Allowed set) {
    switch (set) {
    case Allowed::Scheme:
        return isAlpha(c) || isDigit(c) || c == '+' || c == '-' || c == '.';
    case Allowed::UserInfo:
        return isUnreserved(c) || isSubDelimiter(c) || c == ':';
    case Allowed::Host:
        return isUnreserved(c) || isSubDelimiter(c);
    case Allowed::Path:
        return isUnreserved(c) || isSubDelimiter(c) || c == ':' || c == '@' || c == '/';
    case Allowed::Query:
    case Allowed::Fragment:
        return isAllowed(c, Allowed::Path) || c == '?';
    case Allowed::Unreserved:
        return isUnreserved(c);
    }
    return false;
}

bool PercentEncoding::isURLCharacter(char c) {
    return isUnreserved(c) || isSubDelimiter(c) || isGeneralDelimiter(c) || c == '%';
}

bool PercentEncoding::isHexDigit(char c) {
    return hexValue(c) >= 0;
}

bool PercentEncoding::isValid(std::string_view text, Allowed set) {
    for (std::size_t index = 0; index < text.size(); ++index) {
        char c = text[index];
        if (c == '%') {
            if (!startsEscape(text, index))
                return false;
            index += 2;
        } else if (!isAllowed(c, set)) {
            return false;
        }
    }
    return true;
}

bool PercentEncoding::isValidScheme(std::string_view scheme) {
    if (scheme.empty() || !isAlpha(scheme.front()))
        return false;
    for (char c : scheme)
        if (!isAllowed(c, Allowed::Scheme))
            return false;
    return true;
}

std::string PercentEncoding::encode(std::string_view text, Allowed set) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (char c : text) {
        if (c != '%' && isAllowed(c, set)) {
            encoded += c;
            continue;
        }
        auto byte = static_cast<unsigned char>(c);
        encoded += '%';
        encoded += digits[byte >> 4];
        encoded += digits[byte & 0x0F];
    }
    return encoded;
}

std::string PercentEncoding::decode(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (startsEscape(text, index)) {
            decoded += static_cast<char>(hexValue(text[index + 1]) * 16 + hexValue(text[index + 2]));
            index += 2;
        } else {
            decoded += text[index];
        }
    }
    return decoded;
}

} // namespace platform
