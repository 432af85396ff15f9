#include "platform/foundation/PredicateCompound.h"

#include <algorithm>

namespace platform {

bool PredicateCompound::evaluate(const Value& object) const {
    auto holds = [&](const auto& subpredicate) { return subpredicate->evaluate(object); };
    switch (m_type) {
    case Type::Not:
        return !m_subpredicates.empty() && !holds(m_subpredicates.front());
    case Type::And:
        return std::all_of(m_subpredicates.begin(), m_subpredicates.end(), holds);
    case Type::Or:
        return std::any_of(m_subpredicates.begin(), m_subpredicates.end(), holds);
    }
    return false;
}

PredicateNode::Precedence PredicateCompound::precedence() const {
    switch (m_type) {
    case Type::Not:
        return Precedence::Not;
    case Type::And:
        return Precedence::And;
    case Type::Or:
        return Precedence::Or;
    }
    return Precedence::Primary;
}

std::string PredicateCompound::formatSubpredicate(const PredicateNode& subpredicate) const {
    if (subpredicate.precedence() < precedence())
        return "(" + subpredicate.format() + ")";
    return subpredicate.format();
}

std::string PredicateCompound::format() const {
    // Empty compounds only arise from direct construction; they render as the value they evaluate to.
    if (m_subpredicates.empty())
        return m_type == Type::And ? "TRUEPREDICATE" : "FALSEPREDICATE";
    if (m_type == Type::Not)
        return "NOT " + formatSubpredicate(*m_subpredicates.front());
    const char* separator = m_type == Type::And ? " AND " : " OR ";
    std::string out;
    for (const auto& subpredicate : m_subpredicates) {
        out += out.empty() ? "" : separator;
        out += formatSubpredicate(*subpredicate);
    }
    return out;
}

} // namespace platform
