#pragma once

#include <string>

#include "platform/foundation/Value.h"

namespace platform {

// A node of a parsed predicate: a comparison, a compound (NOT, AND, OR) or a constant truth value.
class PredicateNode {
public:
    // How tightly a node's rendering binds, loosest first; a parent wraps a looser child in parentheses.
    enum class Precedence { Or, And, Not, Primary };

    virtual ~PredicateNode() = default;

    virtual bool evaluate(const Value& object) const = 0;
    // Source text that parses back to an equivalent predicate.
    virtual std::string format() const = 0;
    virtual Precedence precedence() const = 0;
};

} // namespace platform
