#include "uikit/layout/Expression.h"

namespace platform::layout {

double Expression::value() const {
    double sum = m_constant;
    for (const Term& term : m_terms)
        sum += term.value();
    return sum;
}

Expression Expression::reduced() const {
    std::vector<Term> combined;
    combined.reserve(m_terms.size());
    for (const Term& term : m_terms) {
        bool merged = false;
        for (Term& existing : combined) {
            if (existing.variable().sameAs(term.variable())) {
                existing = Term(existing.variable(), existing.coefficient() + term.coefficient());
                merged = true;
                break;
            }
        }
        if (!merged)
            combined.push_back(term);
    }
    std::erase_if(combined, [](const Term& term) { return term.coefficient() == 0.0; });
    return Expression(std::move(combined), m_constant);
}

Expression& Expression::operator+=(const Expression& other) {
    m_terms.insert(m_terms.end(), other.m_terms.begin(), other.m_terms.end());
    m_constant += other.m_constant;
    return *this;
}

Expression& Expression::operator-=(const Expression& other) {
    m_terms.reserve(m_terms.size() + other.m_terms.size());
    for (const Term& term : other.m_terms)
        m_terms.emplace_back(term.variable(), -term.coefficient());
    m_constant -= other.m_constant;
    return *this;
}

Expression& Expression::operator*=(double factor) {
    for (Term& term : m_terms)
        term = Term(term.variable(), term.coefficient() * factor);
    m_constant *= factor;
    return *this;
}

Expression operator+(Expression lhs, const Expression& rhs) {
    lhs += rhs;
    return lhs;
}

Expression operator-(Expression lhs, const Expression& rhs) {
    lhs -= rhs;
    return lhs;
}

Expression operator-(Expression expression) {
    expression *= -1.0;
    return expression;
}

Expression operator*(Expression expression, double factor) {
    expression *= factor;
    return expression;
}

Expression operator*(double factor, Expression expression) {
    expression *= factor;
    return expression;
}

Expression operator/(Expression expression, double divisor) {
    expression *= 1.0 / divisor;
    return expression;
}

} // namespace platform::layout
