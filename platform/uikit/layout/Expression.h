#pragma once

#include <vector>

#include "platform/uikit/layout/Term.h"

namespace platform::layout {

// A linear expression: a sum of terms plus a constant. Variables and numbers convert to it
// implicitly, so `a.x + a.w - 20` reads as written.
class Expression {
public:
    Expression(double constant = 0.0) : m_constant(constant) {}
    Expression(const Variable& variable) : m_terms{Term(variable)} {}
    Expression(Term term) : m_terms{std::move(term)} {}
    Expression(std::vector<Term> terms, double constant = 0.0)
        : m_terms(std::move(terms)), m_constant(constant) {}

    const std::vector<Term>& terms() const { return m_terms; }
    double constant() const { return m_constant; }
    // The expression evaluated with the variables' current values.
    double value() const;
    // Like terms combined (in order of first appearance) and zero terms dropped.
    Expression reduced() const;
    void reduce();

    Expression& operator+=(const Expression& other);
    Expression& operator-=(const Expression& other);
    Expression& operator*=(double factor);

private:
    std::vector<Term> m_terms;
    double m_constant = 0.0;
};

Expression operator+(Expression lhs, const Expression& rhs);
Expression operator-(Expression lhs, const Expression& rhs);
Expression operator-(Expression expression);
Expression operator*(Expression expression, double factor);
Expression operator*(double factor, Expression expression);
Expression operator/(Expression expression, double divisor);

} // namespace platform::layout
