#pragma once

#include <nlohmann/json.hpp>

#include "platform/foundation/Value.h"

namespace corvale::hosts {

// Property-list data as JSON for the hosts' output. What JSON has no type for becomes a string that
// keeps the whole value: data as base64 (RFC 4648, padded), dates as ISO 8601 in UTC
// ("2001-01-01T00:00:00Z", with milliseconds when the date has a fraction of a second). Reals that
// are not finite become null.
class ValueJSON {
public:
    static nlohmann::ordered_json from(const Value& value);

    static std::string base64(const Value::Data& data);
    static std::string iso8601(Value::Date date);
};

} // namespace corvale::hosts
