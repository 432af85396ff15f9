#include "platform/uikit/layout/Constraint.h"

#include <charconv>
#include <cmath>

namespace platform::layout {

namespace {

std::string number(double value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string variableName(const Variable& variable) {
    return variable.name().empty() ? std::string("<unnamed>") : variable.name();
}

void appendTerm(std::string& text, const Term& term, bool first) {
    double coefficient = term.coefficient();
    if (first) {
        if (coefficient == -1.0)
            text += '-';
        else if (coefficient != 1.0)
            text += number(coefficient) + " * ";
    } else {
        text += coefficient < 0 ? " - " : " + ";
        double magnitude = std::fabs(coefficient);
        if (magnitude != 1.0)
            text += number(magnitude) + " * ";
    }
    text += variableName(term.variable());
}

const char* relationText(Relation relation) {
    switch (relation) {
    case Relation::LessOrEqual:
        return " <= 0";
    case Relation::GreaterOrEqual:
        return " >= 0";
    case Relation::Equal:
        break;
    }
    return " == 0";
}

} // namespace

Constraint::Constraint(Expression expression, Relation relation, Strength strength) {
    expression.reduce();
    m_data = std::make_shared<const Data>(Data{std::move(expression), relation, strength});
}

std::string Constraint::description() const {
    const Expression& expression = m_data->expression;
    std::string text;
    for (const Term& term : expression.terms())
        appendTerm(text, term, text.empty());
    double constant = expression.constant();
    if (text.empty())
        text = number(constant);
    else if (constant != 0.0)
        text += (constant < 0 ? " - " : " + ") + number(std::fabs(constant));
    text += relationText(m_data->relation);
    text += " [" + m_data->strength.description() + "]";
    return text;
}

Constraint operator==(Expression lhs, const Expression& rhs) {
    lhs -= rhs;
    return Constraint(std::move(lhs), Relation::Equal);
}

Constraint operator<=(Expression lhs, const Expression& rhs) {
    lhs -= rhs;
    return Constraint(std::move(lhs), Relation::LessOrEqual);
}

Constraint operator>=(Expression lhs, const Expression& rhs) {
    lhs -= rhs;
    return Constraint(std::move(lhs), Relation::GreaterOrEqual);
}

Constraint operator|(const Constraint& constraint, Strength strength) {
    return Constraint(constraint.expression(), constraint.relation(), strength);
}

} // namespace platform::layout
