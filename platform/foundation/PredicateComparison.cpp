#include "platform/foundation/PredicateComparison.h"

#include <algorithm>
#include <compare>

namespace platform {

namespace {

bool isIntegral(const Value& value) {
    return value.isInteger() || value.isBool();
}

std::partial_ordering compare(const Value& left, const Value& right) {
    if (left.isNumber() && right.isNumber()) {
        if (isIntegral(left) && isIntegral(right))
            return left.integerValue() <=> right.integerValue();
        return left.doubleValue() <=> right.doubleValue();
    }
    if (left.isString() && right.isString())
        return left.asString() <=> right.asString();
    if (left.isDate() && right.isDate())
        return left.asDate().secondsSinceReferenceDate <=> right.asDate().secondsSinceReferenceDate;
    return std::partial_ordering::unordered;
}

bool isBetween(const Value& value, const Value& bounds) {
    if (bounds.count() != 2)
        return false;
    return compare(value, bounds[0]) >= 0 && compare(value, bounds[1]) <= 0;
}

// Membership in a list, or a substring test when both sides are strings.
bool isIn(const Value& value, const Value& collection) {
    if (collection.isArray()) {
        const auto& items = collection.asArray();
        return std::any_of(items.begin(), items.end(), [&](const Value& item) { return item == value; });
    }
    if (collection.isString() && value.isString())
        return collection.asString().find(value.asString()) != std::string::npos;
    return false;
}

const char* spelling(PredicateComparison::Operator op) {
    using Operator = PredicateComparison::Operator;
    switch (op) {
    case Operator::Equal:
        return "==";
    case Operator::NotEqual:
        return "!=";
    case Operator::Less:
        return "<";
    case Operator::LessOrEqual:
        return "<=";
    case Operator::Greater:
        return ">";
    case Operator::GreaterOrEqual:
        return ">=";
    case Operator::Between:
        return "BETWEEN";
    case Operator::In:
        return "IN";
    }
    return "";
}

} // namespace

bool PredicateComparison::evaluate(const Value& object) const {
    Value left = m_left.evaluate(object);
    Value right = m_right.evaluate(object);
    switch (m_operator) {
    case Operator::Equal:
        return left == right;
    case Operator::NotEqual:
        return !(left == right);
    case Operator::Less:
        return compare(left, right) < 0;
    case Operator::LessOrEqual:
        return compare(left, right) <= 0;
    case Operator::Greater:
        return compare(left, right) > 0;
    case Operator::GreaterOrEqual:
        return compare(left, right) >= 0;
    case Operator::Between:
        return isBetween(left, right);
    case Operator::In:
        return isIn(left, right);
    }
    return false;
}

std::string PredicateComparison::format() const {
    return m_left.format() + " " + spelling(m_operator) + " " + m_right.format();
}

} // namespace platform
