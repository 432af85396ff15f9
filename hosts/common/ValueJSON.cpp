#include "hosts/common/ValueJSON.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace corvale::hosts {

namespace {

// 2001-01-01T00:00:00Z, where property-list dates count from, in Unix time.
constexpr double referenceDateInUnixSeconds = 978307200;

} // namespace

std::string ValueJSON::base64(const Value::Data& data) {
    static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((data.size() + 2) / 3 * 4);
    for (std::size_t index = 0; index < data.size(); index += 3) {
        const std::size_t remaining = data.size() - index;
        const unsigned group = (unsigned{data[index]} << 16) |
                               (remaining > 1 ? unsigned{data[index + 1]} << 8 : 0u) |
                               (remaining > 2 ? unsigned{data[index + 2]} : 0u);
        text += alphabet[(group >> 18) & 0x3F];
        text += alphabet[(group >> 12) & 0x3F];
        text += remaining > 1 ? alphabet[(group >> 6) & 0x3F] : '=';
        text += remaining > 2 ? alphabet[group & 0x3F] : '=';
    }
    return text;
}

std::string ValueJSON::iso8601(Value::Date date) {
    using namespace std::chrono;
    const double unixSeconds = date.secondsSinceReferenceDate + referenceDateInUnixSeconds;
    const auto milliseconds = static_cast<long long>(std::llround(unixSeconds * 1000));
    const sys_time<std::chrono::milliseconds> time{std::chrono::milliseconds(milliseconds)};
    const auto day = floor<days>(time);
    const year_month_day calendarDay{day};
    const hh_mm_ss clock{time - day};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02lld:%02lld:%02lld", int(calendarDay.year()),
                  unsigned(calendarDay.month()), unsigned(calendarDay.day()),
                  static_cast<long long>(clock.hours().count()),
                  static_cast<long long>(clock.minutes().count()),
                  static_cast<long long>(clock.seconds().count()));
    std::string result = text;
    if (const auto fraction = clock.subseconds().count(); fraction != 0) {
        std::snprintf(text, sizeof text, ".%03lld", static_cast<long long>(fraction));
        result += text;
    }
    return result + "Z";
}

nlohmann::ordered_json ValueJSON::from(const Value& value) {
    switch (value.type()) {
    case Value::Type::Null:
        return nullptr;
    case Value::Type::Bool:
        return value.boolValue();
    case Value::Type::Integer:
        return value.integerValue();
    case Value::Type::Real: {
        double real = value.doubleValue();
        return std::isfinite(real) ? nlohmann::ordered_json(real) : nlohmann::ordered_json(nullptr);
    }
    case Value::Type::String:
        return value.asString();
    case Value::Type::Data:
        return base64(value.asData());
    case Value::Type::Date:
        return iso8601(value.asDate());
    case Value::Type::Array: {
        auto array = nlohmann::ordered_json::array();
        for (const auto& item : value.asArray())
            array.push_back(from(item));
        return array;
    }
    case Value::Type::Dictionary: {
        auto object = nlohmann::ordered_json::object();
        for (const auto& [key, item] : value.asDictionary())
            object[key] = from(item);
        return object;
    }
    }
    return nullptr;
}

} // namespace corvale::hosts
