#include "platform/foundation/PredicateExpression.h"

#include "platform/foundation/PredicateLexer.h"

namespace platform {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char character : text) {
        switch (character) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += character;
        }
    }
    return out + "\"";
}

std::string formatConstant(const Value& value) {
    switch (value.type()) {
    case Value::Type::Null:
        return "nil";
    case Value::Type::Bool:
        return value.boolValue() ? "TRUE" : "FALSE";
    case Value::Type::Integer:
        return std::to_string(value.integerValue());
    case Value::Type::Real:
        return formatReal(value.doubleValue());
    case Value::Type::String:
        return quoted(value.asString());
    default:
        return value.description();
    }
}

} // namespace

PredicateExpression PredicateExpression::keyPath(std::vector<std::string> components) {
    PredicateExpression expression(Kind::KeyPath);
    expression.m_keyPath = std::move(components);
    return expression;
}

PredicateExpression PredicateExpression::constant(Value value) {
    PredicateExpression expression(Kind::Constant);
    expression.m_constant = std::move(value);
    return expression;
}

PredicateExpression PredicateExpression::aggregate(std::vector<PredicateExpression> items) {
    PredicateExpression expression(Kind::Aggregate);
    expression.m_items = std::move(items);
    return expression;
}

Value PredicateExpression::evaluate(const Value& object) const {
    switch (m_kind) {
    case Kind::KeyPath: {
        const Value* current = &object;
        for (const auto& component : m_keyPath)
            current = &(*current)[component];
        return *current;
    }
    case Kind::Constant:
        return m_constant;
    case Kind::Aggregate: {
        Value::Array values;
        values.reserve(m_items.size());
        for (const auto& item : m_items)
            values.push_back(item.evaluate(object));
        return Value(std::move(values));
    }
    }
    return Value();
}

std::string PredicateExpression::format() const {
    std::string out;
    switch (m_kind) {
    case Kind::KeyPath:
        for (const auto& component : m_keyPath) {
            out += out.empty() ? "" : ".";
            out += PredicateLexer::isReservedWord(component) ? "#" + component : component;
        }
        return out;
    case Kind::Constant:
        return formatConstant(m_constant);
    case Kind::Aggregate:
        for (const auto& item : m_items) {
            out += out.empty() ? "" : ", ";
            out += item.format();
        }
        return "{" + out + "}";
    }
    return out;
}

} // namespace platform
