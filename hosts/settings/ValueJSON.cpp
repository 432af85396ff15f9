#include "hosts/settings/ValueJSON.h"

#include <cmath>

namespace corvale::settingshost {

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
    case Value::Type::Date:
        return value.description();
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

} // namespace corvale::settingshost
