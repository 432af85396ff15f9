#pragma once

#include <memory>
#include <vector>

#include "platform/foundation/PredicateNode.h"

namespace platform {

// NOT of one subpredicate, or AND / OR of any number of them (a chain `a AND b AND c` is one node, so
// long chains never make a deep tree).
class PredicateCompound final : public PredicateNode {
public:
    enum class Type { Not, And, Or };

    PredicateCompound(Type type, std::vector<std::unique_ptr<const PredicateNode>> subpredicates)
        : m_type(type), m_subpredicates(std::move(subpredicates)) {}

    bool evaluate(const Value& object) const override;
    std::string format() const override;
    Precedence precedence() const override;

private:
    std::string formatSubpredicate(const PredicateNode& subpredicate) const;

    Type m_type;
    std::vector<std::unique_ptr<const PredicateNode>> m_subpredicates;
};

} // namespace platform
