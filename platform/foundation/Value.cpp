#include "platform/foundation/Value.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace platform {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view skipBlanks(std::string_view text) {
    std::size_t index = 0;
    while (index < text.size() && isBlank(text[index]))
        ++index;
    return text.substr(index);
}

// The longest prefix of `text` that reads as a decimal number: sign, digits, point, exponent.
std::string_view numericPrefix(std::string_view text) {
    std::size_t index = 0;
    if (index < text.size() && (text[index] == '+' || text[index] == '-'))
        ++index;
    std::size_t digits = 0;
    while (index < text.size() && isDigit(text[index])) {
        ++index;
        ++digits;
    }
    if (index < text.size() && text[index] == '.') {
        std::size_t afterPoint = index + 1;
        std::size_t fraction = 0;
        while (afterPoint + fraction < text.size() && isDigit(text[afterPoint + fraction]))
            ++fraction;
        if (digits + fraction > 0) {
            index = afterPoint + fraction;
            digits += fraction;
        }
    }
    if (digits == 0)
        return {};
    if (index < text.size() && (text[index] == 'e' || text[index] == 'E')) {
        std::size_t exponent = index + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        std::size_t exponentDigits = 0;
        while (exponent + exponentDigits < text.size() && isDigit(text[exponent + exponentDigits]))
            ++exponentDigits;
        if (exponentDigits > 0)
            index = exponent + exponentDigits;
    }
    return text.substr(0, index);
}

std::int64_t clampToInteger(double real) {
    if (std::isnan(real))
        return 0;
    if (real >= 9223372036854775807.0)
        return std::numeric_limits<std::int64_t>::max();
    if (real <= -9223372036854775808.0)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(real);
}

float clampToFloat(double real) {
    if (real > std::numeric_limits<float>::max())
        return std::numeric_limits<float>::infinity();
    if (real < -std::numeric_limits<float>::max())
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(real);
}

} // namespace

bool stringBoolValue(std::string_view text) {
    text = skipBlanks(text);
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    while (!text.empty() && text.front() == '0')
        text.remove_prefix(1);
    if (text.empty())
        return false;
    char first = text.front();
    return first == 'Y' || first == 'y' || first == 'T' || first == 't' || (first >= '1' && first <= '9');
}

double stringDoubleValue(std::string_view text) {
    std::string prefix(numericPrefix(skipBlanks(text)));
    if (prefix.empty())
        return 0;
    // The prefix holds only sign, digits, point and exponent, so strtod cannot read hex, inf or nan.
    return std::strtod(prefix.c_str(), nullptr);
}

std::int64_t stringIntegerValue(std::string_view text) {
    text = skipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Accumulate as a negative number so that the minimum fits; saturate on overflow.
    constexpr std::int64_t minimum = std::numeric_limits<std::int64_t>::min();
    std::int64_t accumulated = 0;
    bool overflowed = false;
    for (char c : text) {
        if (!isDigit(c))
            break;
        int digit = c - '0';
        if (accumulated < (minimum + digit) / 10) {
            overflowed = true;
            break;
        }
        accumulated = accumulated * 10 - digit;
    }
    if (overflowed)
        return negative ? minimum : std::numeric_limits<std::int64_t>::max();
    if (negative)
        return accumulated;
    return accumulated == minimum ? std::numeric_limits<std::int64_t>::max() : -accumulated;
}

std::string formatReal(double real) {
    if (std::isnan(real))
        return "nan";
    if (std::isinf(real))
        return real > 0 ? "inf" : "-inf";
    if (real == std::trunc(real) && std::fabs(real) < 1e15) {
        if (real == 0)
            return "0";
        return std::to_string(static_cast<std::int64_t>(real));
    }
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, real);
    return std::string(buffer, result.ptr);
}

} // namespace platform

namespace {

const std::string emptyString;
const Value::Data emptyData;
const Value::Array emptyArray;
const Value::Dictionary emptyDictionary;
const Value nullValue;

void appendEscapedString(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                static const char hex[] = "0123456789abcdef";
                out += "\\u00";
                out += hex[(c >> 4) & 0xf];
                out += hex[c & 0xf];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

} // namespace

bool Value::boolValue() const {
    switch (type()) {
    case Type::Bool: return std::get<bool>(m_storage);
    case Type::Integer: return std::get<std::int64_t>(m_storage) != 0;
    case Type::Real: return std::get<double>(m_storage) != 0;
    case Type::String: return platform::stringBoolValue(std::get<std::string>(m_storage));
    default: return false;
    }
}

std::int64_t Value::integerValue() const {
    switch (type()) {
    case Type::Bool: return std::get<bool>(m_storage) ? 1 : 0;
    case Type::Integer: return std::get<std::int64_t>(m_storage);
    case Type::Real: return platform::clampToInteger(std::get<double>(m_storage));
    case Type::String: return platform::stringIntegerValue(std::get<std::string>(m_storage));
    default: return 0;
    }
}

int Value::intValue() const {
    std::int64_t value = integerValue();
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

double Value::doubleValue() const {
    switch (type()) {
    case Type::Bool: return std::get<bool>(m_storage) ? 1 : 0;
    case Type::Integer: return static_cast<double>(std::get<std::int64_t>(m_storage));
    case Type::Real: return std::get<double>(m_storage);
    case Type::String: return platform::stringDoubleValue(std::get<std::string>(m_storage));
    default: return 0;
    }
}

float Value::floatValue() const { return platform::clampToFloat(doubleValue()); }

std::string Value::stringValue() const {
    switch (type()) {
    case Type::Bool: return std::get<bool>(m_storage) ? "1" : "0";
    case Type::Integer: return std::to_string(std::get<std::int64_t>(m_storage));
    case Type::Real: return platform::formatReal(std::get<double>(m_storage));
    case Type::String: return std::get<std::string>(m_storage);
    default: return {};
    }
}

const std::string& Value::asString() const {
    auto* string = std::get_if<std::string>(&m_storage);
    return string ? *string : emptyString;
}

const Value::Data& Value::asData() const {
    auto* data = std::get_if<Data>(&m_storage);
    return data ? *data : emptyData;
}

Value::Date Value::asDate() const {
    auto* date = std::get_if<Date>(&m_storage);
    return date ? *date : Date{};
}

const Value::Array& Value::asArray() const {
    auto* array = std::get_if<std::shared_ptr<Array>>(&m_storage);
    return array ? **array : emptyArray;
}

const Value::Dictionary& Value::asDictionary() const {
    auto* dictionary = std::get_if<std::shared_ptr<Dictionary>>(&m_storage);
    return dictionary ? **dictionary : emptyDictionary;
}

std::size_t Value::count() const {
    if (isArray())
        return asArray().size();
    if (isDictionary())
        return asDictionary().size();
    return 0;
}

const Value& Value::operator[](std::string_view key) const {
    const auto& dictionary = asDictionary();
    auto found = dictionary.find(key);
    return found == dictionary.end() ? nullValue : found->second;
}

const Value& Value::operator[](std::size_t index) const {
    const auto& array = asArray();
    return index < array.size() ? array[index] : nullValue;
}

bool Value::contains(std::string_view key) const { return asDictionary().contains(key); }

Value::Array* Value::mutableArray() {
    if (isNull())
        m_storage = std::make_shared<Array>();
    auto* array = std::get_if<std::shared_ptr<Array>>(&m_storage);
    if (!array)
        return nullptr;
    if (array->use_count() > 1)
        *array = std::make_shared<Array>(**array);
    return array->get();
}

Value::Dictionary* Value::mutableDictionary() {
    if (isNull())
        m_storage = std::make_shared<Dictionary>();
    auto* dictionary = std::get_if<std::shared_ptr<Dictionary>>(&m_storage);
    if (!dictionary)
        return nullptr;
    if (dictionary->use_count() > 1)
        *dictionary = std::make_shared<Dictionary>(**dictionary);
    return dictionary->get();
}

void Value::set(std::string key, Value value) {
    if (auto* dictionary = mutableDictionary())
        dictionary->insert_or_assign(std::move(key), std::move(value));
}

void Value::remove(std::string_view key) {
    if (!isDictionary() || !contains(key))
        return;
    auto* dictionary = mutableDictionary();
    dictionary->erase(dictionary->find(key));
}

void Value::append(Value value) {
    if (auto* array = mutableArray())
        array->push_back(std::move(value));
}

std::string Value::description() const {
    std::string out;
    switch (type()) {
    case Type::Null: return "null";
    case Type::Bool: return std::get<bool>(m_storage) ? "true" : "false";
    case Type::Integer:
    case Type::Real: return stringValue();
    case Type::String: appendEscapedString(out, asString()); return out;
    case Type::Date: return platform::formatReal(asDate().secondsSinceReferenceDate);
    case Type::Data: {
        static const char hex[] = "0123456789abcdef";
        out = "<";
        for (auto byte : asData()) {
            out += hex[byte >> 4];
            out += hex[byte & 0xf];
        }
        return out + ">";
    }
    case Type::Array: {
        out = "[";
        bool first = true;
        for (const auto& item : asArray()) {
            out += first ? "" : ",";
            out += item.description();
            first = false;
        }
        return out + "]";
    }
    case Type::Dictionary: {
        out = "{";
        bool first = true;
        for (const auto& [key, item] : asDictionary()) {
            out += first ? "" : ",";
            appendEscapedString(out, key);
            out += ":" + item.description();
            first = false;
        }
        return out + "}";
    }
    }
    return out;
}

bool operator==(const Value& lhs, const Value& rhs) {
    if (lhs.isNumber() && rhs.isNumber()) {
        if (lhs.isReal() || rhs.isReal())
            return lhs.doubleValue() == rhs.doubleValue();
        return lhs.integerValue() == rhs.integerValue();
    }
    if (lhs.type() != rhs.type())
        return false;
    switch (lhs.type()) {
    case Value::Type::Null: return true;
    case Value::Type::String: return lhs.asString() == rhs.asString();
    case Value::Type::Data: return lhs.asData() == rhs.asData();
    case Value::Type::Date: return lhs.asDate() == rhs.asDate();
    case Value::Type::Array: return lhs.asArray() == rhs.asArray();
    case Value::Type::Dictionary: return lhs.asDictionary() == rhs.asDictionary();
    default: return false;
    }
}

const Value& Value::null() { return nullValue; }
