#include "platform/foundation/PredicateLexer.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace platform {

namespace {

using Kind = PredicateToken::Kind;

struct Keyword {
    std::string_view spelling;
    Kind kind;
};

// Words of the full predicate syntax that this subset reserves without implementing, so a format that
// works here means the same thing on the device.
constexpr std::array keywords{
    Keyword{"AND", Kind::And},
    Keyword{"OR", Kind::Or},
    Keyword{"NOT", Kind::Not},
    Keyword{"BETWEEN", Kind::Between},
    Keyword{"IN", Kind::In},
    Keyword{"TRUE", Kind::True},
    Keyword{"YES", Kind::True},
    Keyword{"FALSE", Kind::False},
    Keyword{"NO", Kind::False},
    Keyword{"NULL", Kind::Null},
    Keyword{"NIL", Kind::Null},
    Keyword{"TRUEPREDICATE", Kind::TruePredicate},
    Keyword{"FALSEPREDICATE", Kind::FalsePredicate},
    Keyword{"ANY", Kind::Unsupported},
    Keyword{"ALL", Kind::Unsupported},
    Keyword{"SOME", Kind::Unsupported},
    Keyword{"NONE", Kind::Unsupported},
    Keyword{"LIKE", Kind::Unsupported},
    Keyword{"MATCHES", Kind::Unsupported},
    Keyword{"CONTAINS", Kind::Unsupported},
    Keyword{"BEGINSWITH", Kind::Unsupported},
    Keyword{"ENDSWITH", Kind::Unsupported},
    Keyword{"SELF", Kind::Unsupported},
    Keyword{"SUBQUERY", Kind::Unsupported},
    Keyword{"FUNCTION", Kind::Unsupported},
    Keyword{"CAST", Kind::Unsupported},
    Keyword{"FIRST", Kind::Unsupported},
    Keyword{"LAST", Kind::Unsupported},
    Keyword{"SIZE", Kind::Unsupported},
};

char asciiUpper(char character) {
    return character >= 'a' && character <= 'z' ? static_cast<char>(character - 'a' + 'A') : character;
}

bool equalsIgnoringCase(std::string_view word, std::string_view upperSpelling) {
    if (word.size() != upperSpelling.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (asciiUpper(word[i]) != upperSpelling[i])
            return false;
    }
    return true;
}

const Keyword* findKeyword(std::string_view word) {
    for (const auto& keyword : keywords) {
        if (equalsIgnoringCase(word, keyword.spelling))
            return &keyword;
    }
    return nullptr;
}

// 16, 8 or 2 for a "0x", "0o" or "0b" prefix followed by more of the number; 0 otherwise.
int radixOfPrefix(std::string_view text) {
    if (text.size() < 3 || text[0] != '0')
        return 0;
    switch (text[1]) {
    case 'x':
    case 'X':
        return 16;
    case 'o':
    case 'O':
        return 8;
    case 'b':
    case 'B':
        return 2;
    default:
        return 0;
    }
}

bool isDigit(char character) {
    return character >= '0' && character <= '9';
}

bool isWhitespace(char character) {
    return character == ' ' || character == '\t' || character == '\n' || character == '\r' ||
           character == '\f' || character == '\v';
}

std::string describeCharacter(char character) {
    auto byte = static_cast<unsigned char>(character);
    if (byte >= 0x20 && byte < 0x7f)
        return std::string("'") + character + "'";
    static const char hex[] = "0123456789ABCDEF";
    return std::string("byte 0x") + hex[byte >> 4] + hex[byte & 0xf];
}

char unescape(char character) {
    switch (character) {
    case 'n':
        return '\n';
    case 't':
        return '\t';
    case 'r':
        return '\r';
    default:
        return character;
    }
}

} // namespace

bool PredicateLexer::isIdentifierStart(char character) {
    return (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z') ||
           character == '_' || character == '$';
}

bool PredicateLexer::isIdentifierCharacter(char character) {
    return isIdentifierStart(character) || isDigit(character);
}

bool PredicateLexer::isReservedWord(std::string_view word) {
    return findKeyword(word) != nullptr;
}

std::variant<PredicateToken, PredicateParseError> PredicateLexer::next() {
    skipWhitespace();
    std::size_t start = m_offset;
    if (start >= m_format.size())
        return token(Kind::End, start, 0);
    char character = m_format[start];
    if (isIdentifierStart(character))
        return lexWord(start, false);
    if (isDigit(character))
        return lexNumber(start);
    if ((character == '-' || character == '+') && start + 1 < m_format.size() && isDigit(m_format[start + 1]))
        return lexNumber(start);
    if (character == '"' || character == '\'')
        return lexString(start);
    return lexPunctuation(start);
}

void PredicateLexer::skipWhitespace() {
    while (m_offset < m_format.size() && isWhitespace(m_format[m_offset]))
        ++m_offset;
}

PredicateToken PredicateLexer::token(Kind kind, std::size_t start, std::size_t length) {
    PredicateToken result;
    result.kind = kind;
    result.position = start;
    result.text = m_format.substr(start, length);
    m_offset = start + length;
    return result;
}

PredicateLexer::Result PredicateLexer::lexWord(std::size_t start, bool escaped) {
    std::size_t wordStart = escaped ? start + 1 : start;
    std::size_t end = wordStart;
    while (end < m_format.size() && isIdentifierCharacter(m_format[end]))
        ++end;
    std::string_view word = m_format.substr(wordStart, end - wordStart);
    const Keyword* keyword = escaped ? nullptr : findKeyword(word);
    PredicateToken result = token(keyword ? keyword->kind : Kind::Identifier, start, end - start);
    result.escaped = escaped && !keyword;
    return result;
}

PredicateLexer::Result PredicateLexer::lexNumber(std::size_t start) {
    std::size_t end = start;
    if (m_format[end] == '-' || m_format[end] == '+')
        ++end;
    if (int radix = radixOfPrefix(m_format.substr(end)); radix != 0)
        return lexRadixInteger(start, end + 2, radix);
    auto skipDigits = [&] {
        while (end < m_format.size() && isDigit(m_format[end]))
            ++end;
    };
    skipDigits();
    bool isReal = false;
    if (end + 1 < m_format.size() && m_format[end] == '.' && isDigit(m_format[end + 1])) {
        isReal = true;
        ++end;
        skipDigits();
    }
    if (end < m_format.size() && (m_format[end] == 'e' || m_format[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < m_format.size() && (m_format[exponent] == '-' || m_format[exponent] == '+'))
            ++exponent;
        if (exponent < m_format.size() && isDigit(m_format[exponent])) {
            isReal = true;
            end = exponent;
            skipDigits();
        }
    }
    if (end < m_format.size() && (isIdentifierCharacter(m_format[end]) || m_format[end] == '#'))
        return PredicateParseError{start, "malformed number"};
    if (isReal && end + 1 < m_format.size() && m_format[end] == '.' && isDigit(m_format[end + 1]))
        return PredicateParseError{start,
                                   "malformed number: a version such as 13.4.1 is not a number; compare "
                                   "major, minor and patch separately"};

    std::string_view text = m_format.substr(start, end - start);
    std::string_view digits = text.front() == '+' ? text.substr(1) : text;
    const char* first = digits.data();
    const char* last = digits.data() + digits.size();
    PredicateToken result = token(Kind::Number, start, end - start);
    if (!isReal) {
        std::int64_t integer = 0;
        auto [pointer, error] = std::from_chars(first, last, integer);
        if (error == std::errc() && pointer == last) {
            result.value = Value(integer);
            return result;
        }
    }
    double real = 0;
    auto [pointer, error] = std::from_chars(first, last, real);
    if (error != std::errc() || pointer != last)
        return PredicateParseError{start, "the number " + std::string(text) + " is out of range"};
    result.value = Value(real);
    return result;
}

// 0x0D, 0o15 and 0b1101: whole numbers in another base, after an optional sign.
PredicateLexer::Result PredicateLexer::lexRadixInteger(std::size_t start, std::size_t digitsStart, int radix) {
    std::size_t end = digitsStart;
    while (end < m_format.size() && isIdentifierCharacter(m_format[end]))
        ++end;
    std::string_view digits = m_format.substr(digitsStart, end - digitsStart);
    std::string_view text = m_format.substr(start, end - start);
    std::uint64_t magnitude = 0;
    auto [pointer, error] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, radix);
    if (digits.empty() || pointer != digits.data() + digits.size() ||
        (error != std::errc() && error != std::errc::result_out_of_range))
        return PredicateParseError{start, "malformed number"};
    bool negative = m_format[start] == '-';
    std::uint64_t limit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
    if (error == std::errc::result_out_of_range || magnitude > limit)
        return PredicateParseError{start, "the number " + std::string(text) + " is out of range"};
    PredicateToken result = token(Kind::Number, start, end - start);
    // Negated in unsigned arithmetic, so that the most negative integer does not overflow.
    result.value = Value(static_cast<std::int64_t>(negative ? 0 - magnitude : magnitude));
    return result;
}

PredicateLexer::Result PredicateLexer::lexString(std::size_t start) {
    char quote = m_format[start];
    std::string contents;
    std::size_t offset = start + 1;
    while (offset < m_format.size()) {
        char character = m_format[offset];
        if (character == quote) {
            PredicateToken result = token(Kind::String, start, offset + 1 - start);
            result.value = Value(std::move(contents));
            return result;
        }
        if (character == '\\') {
            if (offset + 1 >= m_format.size())
                break;
            contents += unescape(m_format[offset + 1]);
            offset += 2;
            continue;
        }
        contents += character;
        ++offset;
    }
    return PredicateParseError{start, "unterminated string"};
}

PredicateLexer::Result PredicateLexer::lexPunctuation(std::size_t start) {
    char character = m_format[start];
    m_offset = start + 1;
    auto pick = [&](char second, Kind twoCharacterKind, Kind oneCharacterKind) {
        return nextIs(second) ? token(twoCharacterKind, start, 2) : token(oneCharacterKind, start, 1);
    };
    switch (character) {
    case '(':
        return token(Kind::LeftParen, start, 1);
    case ')':
        return token(Kind::RightParen, start, 1);
    case '{':
        return token(Kind::LeftBrace, start, 1);
    case '}':
        return token(Kind::RightBrace, start, 1);
    case ',':
        return token(Kind::Comma, start, 1);
    case '.':
        return token(Kind::Dot, start, 1);
    case '=':
        if (nextIs('<'))
            return token(Kind::LessOrEqual, start, 2);
        if (nextIs('>'))
            return token(Kind::GreaterOrEqual, start, 2);
        return pick('=', Kind::Equal, Kind::Equal);
    case '!':
        return pick('=', Kind::NotEqual, Kind::Not);
    case '<':
        if (nextIs('>'))
            return token(Kind::NotEqual, start, 2);
        return pick('=', Kind::LessOrEqual, Kind::Less);
    case '>':
        return pick('=', Kind::GreaterOrEqual, Kind::Greater);
    case '&':
        if (nextIs('&'))
            return token(Kind::And, start, 2);
        return PredicateParseError{start, "unexpected '&' (use '&&' or AND)"};
    case '|':
        if (nextIs('|'))
            return token(Kind::Or, start, 2);
        return PredicateParseError{start, "unexpected '|' (use '||' or OR)"};
    case '#':
        if (m_offset >= m_format.size() || !isIdentifierStart(m_format[m_offset]))
            return PredicateParseError{start, "'#' must be followed by a key"};
        return lexWord(start, true);
    default:
        return PredicateParseError{start, "unexpected character " + describeCharacter(character)};
    }
}

} // namespace platform
