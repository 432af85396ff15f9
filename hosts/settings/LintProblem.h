#pragma once

#include <string>

#include "platform/foundation/Value.h"

namespace corvale::settingshost {

// One fault in a pane's property list: the file, the row (by its label; null for a top-level key),
// the property at fault, its value and what is wrong with it.
struct LintProblem {
    std::string plist;
    Value label;
    std::string property;
    Value value;
    std::string problem;
};

} // namespace corvale::settingshost
