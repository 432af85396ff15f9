#pragma once

#include <memory>
#include <string>

#include "platform/uikit/layout/Expression.h"
#include "platform/uikit/layout/Relation.h"
#include "platform/uikit/layout/Strength.h"

namespace platform::layout {

// `expression <relation> 0` at some strength. Immutable; copies are handles to the same
// constraint, and the solver tells constraints apart by that identity, not by their contents.
class Constraint {
public:
    Constraint(Expression expression, Relation relation, Strength strength = Strength::required());

    const Expression& expression() const { return m_data->expression; }
    Relation relation() const { return m_data->relation; }
    Strength strength() const { return m_data->strength; }
    bool isRequired() const { return m_data->strength.isRequired(); }

    // One line for logs, e.g. "field.x + field.w - container.w + 20 == 0 [required]".
    std::string description() const;

    bool sameAs(const Constraint& other) const { return m_data == other.m_data; }
    const void* identity() const { return m_data.get(); }

private:
    struct Data {
        Expression expression;
        Relation relation;
        Strength strength;
    };
    std::shared_ptr<const Data> m_data;
};

// Required constraints between two expressions: `a.x + a.w == b.x - 8`.
Constraint operator==(Expression lhs, const Expression& rhs);
Constraint operator<=(Expression lhs, const Expression& rhs);
Constraint operator>=(Expression lhs, const Expression& rhs);
// A new constraint like the old one at another strength: `(a.w == 100) | Strength::weak()`.
Constraint operator|(const Constraint& constraint, Strength strength);

} // namespace platform::layout
