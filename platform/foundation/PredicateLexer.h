#pragma once

#include <cstddef>
#include <string_view>
#include <variant>

#include "platform/foundation/PredicateParseError.h"
#include "platform/foundation/PredicateToken.h"

namespace platform {

// Splits a predicate format into tokens on demand, so that the first fault in reading order is the one
// reported. Keywords are case-insensitive; '#' before a word makes it a key even when it is a keyword.
// Integer literals too large for 64 bits become reals; reals beyond double's range are an error.
class PredicateLexer {
public:
    explicit PredicateLexer(std::string_view format) : m_format(format) {}

    std::variant<PredicateToken, PredicateParseError> next();

    // True when `word` written bare would not read as a key (so a rendering must escape it with '#').
    static bool isReservedWord(std::string_view word);
    static bool isIdentifierStart(char character);
    static bool isIdentifierCharacter(char character);

private:
    using Result = std::variant<PredicateToken, PredicateParseError>;

    void skipWhitespace();
    Result lexWord(std::size_t start, bool escaped);
    Result lexNumber(std::size_t start);
    Result lexRadixInteger(std::size_t start, std::size_t digitsStart, int radix);
    Result lexString(std::size_t start);
    Result lexPunctuation(std::size_t start);
    PredicateToken token(PredicateToken::Kind kind, std::size_t start, std::size_t length);
    bool nextIs(char character) const {
        return m_offset < m_format.size() && m_format[m_offset] == character;
    }

    std::string_view m_format;
    std::size_t m_offset = 0;
};

} // namespace platform
