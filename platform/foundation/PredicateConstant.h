#pragma once

#include "platform/foundation/PredicateNode.h"

namespace platform {

// TRUEPREDICATE or FALSEPREDICATE.
class PredicateConstant final : public PredicateNode {
public:
    explicit PredicateConstant(bool value) : m_value(value) {}

    bool evaluate(const Value&) const override { return m_value; }
    std::string format() const override { return m_value ? "TRUEPREDICATE" : "FALSEPREDICATE"; }
    Precedence precedence() const override { return Precedence::Primary; }

private:
    bool m_value;
};

} // namespace platform
