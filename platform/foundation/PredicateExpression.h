#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"

namespace platform {

// One side of a comparison: a key path into the evaluated object, a literal value, or a literal list
// ({a, b, c}) for IN and BETWEEN.
class PredicateExpression {
public:
    enum class Kind { KeyPath, Constant, Aggregate };

    static PredicateExpression keyPath(std::vector<std::string> components);
    static PredicateExpression constant(Value value);
    static PredicateExpression aggregate(std::vector<PredicateExpression> items);

    Kind kind() const { return m_kind; }
    std::size_t itemCount() const { return m_items.size(); }

    // A key path walks nested dictionaries; any missing step gives the null value. An aggregate gives
    // an array of its items' values.
    Value evaluate(const Value& object) const;
    // Source text that parses back to an equal expression.
    std::string format() const;

private:
    explicit PredicateExpression(Kind kind) : m_kind(kind) {}

    Kind m_kind;
    std::vector<std::string> m_keyPath;
    Value m_constant;
    std::vector<PredicateExpression> m_items;
};

} // namespace platform
