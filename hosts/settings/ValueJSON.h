#pragma once

#include <nlohmann/json.hpp>

#include "platform/foundation/Value.h"

namespace corvale::settingshost {

// Property-list data as JSON for the host's output. Data and dates, which JSON cannot hold, become
// their description; reals that are not finite become null.
class ValueJSON {
public:
    static nlohmann::ordered_json from(const Value& value);
};

} // namespace corvale::settingshost
