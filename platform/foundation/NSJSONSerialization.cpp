#include "platform/foundation/NSJSONSerialization.h"

#include <cmath>
#include <exception>
#include <limits>
#include <nlohmann/json.hpp>

namespace {

using json = nlohmann::json;

// Builds the Value straight from nlohmann's parse events: no intermediate json tree, a nesting
// limit, and the parser's error message kept instead of thrown.
class ValueBuilder {
public:
    std::optional<Value> result;
    std::string errorMessage;

    bool null() { return add(Value()); }
    bool boolean(bool value) { return add(Value(value)); }
    bool number_integer(json::number_integer_t value) { return add(Value(value)); }
    bool number_unsigned(json::number_unsigned_t value) {
        if (value > static_cast<json::number_unsigned_t>(std::numeric_limits<std::int64_t>::max()))
            return add(Value(static_cast<double>(value)));
        return add(Value(static_cast<std::int64_t>(value)));
    }
    bool number_float(json::number_float_t value, const json::string_t& /*text*/) {
        return add(Value(value));
    }
    bool string(json::string_t& value) { return add(Value(std::move(value))); }
    bool binary(json::binary_t& /*value*/) { return fail("binary values are not JSON"); }

    bool start_object(std::size_t /*count*/) { return open(Value(Value::Dictionary{})); }
    bool key(json::string_t& key) {
        m_keys.back() = std::move(key);
        return true;
    }
    bool end_object() { return close(); }
    bool start_array(std::size_t /*count*/) { return open(Value(Value::Array{})); }
    bool end_array() { return close(); }

    bool parse_error(std::size_t /*position*/, const std::string& /*token*/,
                     const nlohmann::detail::exception& error) {
        return fail(error.what());
    }

private:
    bool fail(std::string message) {
        errorMessage = std::move(message);
        return false;
    }

    bool add(Value value) {
        if (m_open.empty()) {
            result = std::move(value);
            return true;
        }
        // The open collection is owned here alone, so these writes copy nothing.
        Value& parent = m_open.back();
        if (auto* array = parent.mutableArray())
            array->push_back(std::move(value));
        else if (auto* dictionary = parent.mutableDictionary())
            dictionary->insert_or_assign(std::move(m_keys.back()), std::move(value));
        return true;
    }

    bool open(Value collection) {
        if (m_open.size() >= NSJSONSerialization::maximumDepth)
            return fail("JSON nested deeper than " + std::to_string(NSJSONSerialization::maximumDepth) +
                        " levels");
        m_open.push_back(std::move(collection));
        m_keys.emplace_back();
        return true;
    }

    bool close() {
        Value collection = std::move(m_open.back());
        m_open.pop_back();
        m_keys.pop_back();
        return add(std::move(collection));
    }

    std::vector<Value> m_open;
    std::vector<std::string> m_keys;
};

class JSONWriter {
public:
    std::string problem;

    std::optional<json> write(const Value& value, std::size_t depth) {
        switch (value.type()) {
        case Value::Type::Null:
            return json(nullptr);
        case Value::Type::Bool:
            return json(value.boolValue());
        case Value::Type::Integer:
            return json(value.integerValue());
        case Value::Type::Real:
            return writeReal(value.doubleValue());
        case Value::Type::String:
            return json(value.asString());
        case Value::Type::Data:
            return refuse("Invalid type in JSON write (NSData)");
        case Value::Type::Date:
            return refuse("Invalid type in JSON write (NSDate)");
        case Value::Type::Array:
            return depth < NSJSONSerialization::maximumDepth ? writeArray(value, depth + 1) : tooDeep();
        case Value::Type::Dictionary:
            return depth < NSJSONSerialization::maximumDepth ? writeObject(value, depth + 1) : tooDeep();
        }
        return refuse("Invalid type in JSON write");
    }

private:
    std::optional<json> refuse(std::string reason) {
        problem = std::move(reason);
        return std::nullopt;
    }

    std::optional<json> tooDeep() {
        return refuse("JSON write nested deeper than " + std::to_string(NSJSONSerialization::maximumDepth) +
                      " levels");
    }

    std::optional<json> writeReal(double real) {
        if (std::isnan(real))
            return refuse("Invalid number value (NaN) in JSON write");
        if (std::isinf(real))
            return refuse("Invalid number value (infinite) in JSON write");
        return json(real);
    }

    std::optional<json> writeArray(const Value& value, std::size_t depth) {
        json array = json::array();
        for (const auto& item : value.asArray()) {
            auto written = write(item, depth);
            if (!written)
                return std::nullopt;
            array.push_back(std::move(*written));
        }
        return array;
    }

    std::optional<json> writeObject(const Value& value, std::size_t depth) {
        json object = json::object();
        for (const auto& [key, item] : value.asDictionary()) {
            auto written = write(item, depth);
            if (!written)
                return std::nullopt;
            object[key] = std::move(*written);
        }
        return object;
    }
};

std::optional<json> toJSON(const Value& value, std::string& problem) {
    if (!value.isArray() && !value.isDictionary()) {
        problem = "Invalid top-level type in JSON write";
        return std::nullopt;
    }
    JSONWriter writer;
    auto written = writer.write(value, 0);
    problem = std::move(writer.problem);
    return written;
}

} // namespace

std::optional<Value> NSJSONSerialization::JSONObjectWithData(std::string_view text, NSErrorPtr* error) {
    ValueBuilder builder;
    bool parsed = false;
    try {
        parsed = json::sax_parse(text.begin(), text.end(), &builder);
    } catch (const std::exception& exception) {
        // The SAX parser reports its errors through parse_error; this only catches allocation failure.
        builder.errorMessage = exception.what();
    }
    if (!parsed || !builder.result) {
        reportError(error, NSCocoaErrorDomain, readCorruptError,
                    builder.errorMessage.empty() ? "The data couldn't be read." : builder.errorMessage);
        return std::nullopt;
    }
    return std::move(builder.result);
}

std::optional<Value> NSJSONSerialization::JSONObjectWithData(const std::vector<std::uint8_t>& data,
                                                             NSErrorPtr* error) {
    return JSONObjectWithData(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()),
                              error);
}

std::optional<std::string> NSJSONSerialization::dataWithJSONObject(const Value& value, NSErrorPtr* error) {
    std::string problem;
    auto document = toJSON(value, problem);
    if (!document) {
        reportError(error, NSCocoaErrorDomain, writeInvalidError, problem);
        return std::nullopt;
    }
    try {
        return document->dump(-1, ' ', false, json::error_handler_t::replace);
    } catch (const std::exception& exception) {
        reportError(error, NSCocoaErrorDomain, writeInvalidError, exception.what());
        return std::nullopt;
    }
}

bool NSJSONSerialization::isValidJSONObject(const Value& value) {
    std::string problem;
    return toJSON(value, problem).has_value();
}
