#pragma once

#include <string>
#include <string_view>

namespace platform {

// RFC 3986 character classes and percent-encoding, shared by the URL parser and whatever builds URLs.
class PercentEncoding {
public:
    // The characters a part of a URL may hold unescaped (besides "%XX" escapes themselves).
    enum class Allowed {
        Scheme,    // ALPHA, DIGIT, "+", "-", "." (the first must be a letter: see isValidScheme)
        UserInfo,  // unreserved, sub-delims, ":"
        Host,      // unreserved, sub-delims (a registered name)
        Path,      // unreserved, sub-delims, ":", "@", "/"
        Query,     // Path and "?"
        Fragment,  // as Query
        Unreserved // ALPHA, DIGIT, "-", ".", "_", "~"
    };

    static bool isAllowed(char c, Allowed set);
    // Any character that may appear somewhere in a URL reference.
    static bool isURLCharacter(char c);
    static bool isHexDigit(char c);
    // True when every character is allowed in `set` and every '%' starts a "%XX" escape.
    static bool isValid(std::string_view text, Allowed set);
    static bool isValidScheme(std::string_view scheme);

    // Escapes every byte (UTF-8 included) that `set` does not allow, '%' among them, as "%XX".
    static std::string encode(std::string_view text, Allowed set);
    // Replaces "%XX" escapes by their bytes; a '%' that starts no escape is kept as it is.
    static std::string decode(std::string_view text);
};

} // namespace platform
