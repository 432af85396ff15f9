#include "platform/uikit/layout/Expression.h"

namespace platform::layout {

double Expression::value() const {
    double sum = m_constant;
    for (const Term& term : m_terms)
        sum += term.value();
    return sum;
}

Expression Expression::reduced() const {
    Expression copy = *this;
    copy.reduce();
    return copy;
}

// In place: constraints reduce the expression they are built from, usually a temporary.
void Expression::reduce() {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_terms.size(); ++i) {
        const Term& term = m_terms[i];
        std::size_t same = 0;
        while (same < kept && !m_terms[same].variable().sameAs(term.variable()))
            ++same;
        if (same < kept)
            m_terms[same] = Term(m_terms[same].variable(), m_terms[same].coefficient() + term.coefficient());
        else if (kept != i)
            m_terms[kept++] = term;
        else
            ++kept;
    }
    m_terms.erase(m_terms.begin() + static_cast<std::ptrdiff_t>(kept), m_terms.end());
    std::erase_if(m_terms, [](const Term& term) { return term.coefficient() == 0.0; });
}

Expression& Expression::operator+=(const Expression& other) {
    m_terms.reserve(m_terms.size() + other.m_terms.size());
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
