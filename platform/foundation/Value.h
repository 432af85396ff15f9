#pragma once

#include <compare>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// Property-list and JSON data: the one value type that NSDictionary, NSArray, NSNumber, NSString,
// NSData and NSDate play on the platform. Arrays and dictionaries are shared until written
// (copy-on-write), so passing a large property list around by value is cheap.
class Value {
public:
    enum class Type { Null, Bool, Integer, Real, String, Data, Date, Array, Dictionary };

    using Array = std::vector<Value>;
    using Dictionary = std::map<std::string, Value, std::less<>>;
    using Data = std::vector<std::uint8_t>;
    // Seconds since the platform's reference date, 2001-01-01 00:00:00 UTC.
    struct Date {
        double secondsSinceReferenceDate = 0;
        auto operator<=>(const Date&) const = default;
    };

    Value() = default;
    Value(std::nullptr_t) {}
    Value(bool boolean) : m_storage(boolean) {}
    template <std::integral T>
        requires(!std::same_as<T, bool>)
    Value(T integer) : m_storage(static_cast<std::int64_t>(integer)) {}
    Value(double real) : m_storage(real) {}
    Value(float real) : m_storage(static_cast<double>(real)) {}
    Value(const char* string) : m_storage(std::string(string ? string : "")) {}
    Value(std::string string) : m_storage(std::move(string)) {}
    Value(std::string_view string) : m_storage(std::string(string)) {}
    Value(Data data) : m_storage(std::move(data)) {}
    Value(Date date) : m_storage(date) {}
    Value(Array array) : m_storage(std::make_shared<Array>(std::move(array))) {}
    Value(Dictionary dictionary) : m_storage(std::make_shared<Dictionary>(std::move(dictionary))) {}

    static Value array(std::initializer_list<Value> items = {}) { return Value(Array(items)); }
    static Value dictionary(std::initializer_list<std::pair<const std::string, Value>> entries = {}) {
        return Value(Dictionary(entries));
    }

    Type type() const { return static_cast<Type>(m_storage.index()); }
    bool isNull() const { return type() == Type::Null; }
    bool isBool() const { return type() == Type::Bool; }
    bool isInteger() const { return type() == Type::Integer; }
    bool isReal() const { return type() == Type::Real; }
    // NSNumber: booleans, integers and reals alike.
    bool isNumber() const { return isBool() || isInteger() || isReal(); }
    bool isString() const { return type() == Type::String; }
    bool isData() const { return type() == Type::Data; }
    bool isDate() const { return type() == Type::Date; }
    bool isArray() const { return type() == Type::Array; }
    bool isDictionary() const { return type() == Type::Dictionary; }

    // The platform's conversions: numbers convert among themselves, strings are parsed leniently,
    // everything else gives false, 0 or "".
    bool boolValue() const;
    std::int64_t integerValue() const;
    int intValue() const;
    double doubleValue() const;
    float floatValue() const;
    std::string stringValue() const;

    // Typed access; the wrong type gives an empty value, never undefined behaviour.
    const std::string& asString() const;
    const Data& asData() const;
    Date asDate() const;
    const Array& asArray() const;
    const Dictionary& asDictionary() const;

    // Collections. Lookups on a value of another type find nothing (the null value).
    std::size_t count() const;
    const Value& operator[](std::string_view key) const;
    const Value& operator[](std::size_t index) const;
    bool contains(std::string_view key) const;

    // Writes make a null value into the collection they need; on another type they do nothing.
    void set(std::string key, Value value);
    void remove(std::string_view key);
    void append(Value value);
    // The collection to write into, unshared first; a null value becomes an empty one. nullptr for
    // a value of another type, which has no such collection to write into.
    Array* mutableArray();
    Dictionary* mutableDictionary();

    // A readable rendering for logs and messages (JSON-like; data as <hex>, dates as numbers).
    std::string description() const;

    // NSNumber equality: booleans, integers and reals compare by numeric value.
    friend bool operator==(const Value& lhs, const Value& rhs);

    static const Value& null();

private:
    using Storage = std::variant<std::monostate, bool, std::int64_t, double, std::string, Data, Date,
                                 std::shared_ptr<Array>, std::shared_ptr<Dictionary>>;
    Storage m_storage;
};

namespace platform {

// Lenient parses of a string, as NSString's numeric accessors do them.
bool stringBoolValue(std::string_view text);
double stringDoubleValue(std::string_view text);
std::int64_t stringIntegerValue(std::string_view text);
// Prints a number the way NSNumber's stringValue does: integers without a point, reals shortest.
std::string formatReal(double real);

} // namespace platform
