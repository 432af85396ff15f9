#pragma once

#include "platform/foundation/PredicateExpression.h"
#include "platform/foundation/PredicateNode.h"

namespace platform {

// `left <operator> right`. Numbers compare numerically whatever their storage, strings byte-wise, dates
// by time; any other pairing (a missing key against a number, a number against a string) is unequal
// and unordered, so every ordering comparison on it is false and only != holds.
class PredicateComparison final : public PredicateNode {
public:
    enum class Operator { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual, Between, In };

    PredicateComparison(PredicateExpression left, Operator op, PredicateExpression right)
        : m_left(std::move(left)), m_operator(op), m_right(std::move(right)) {}

    bool evaluate(const Value& object) const override;
    std::string format() const override;
    Precedence precedence() const override { return Precedence::Primary; }

private:
    PredicateExpression m_left;
    Operator m_operator;
    PredicateExpression m_right;
};

} // namespace platform
