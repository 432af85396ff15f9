#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "platform/foundation/NSError.h"
#include "platform/foundation/PredicateParseError.h"
#include "platform/foundation/Value.h"

namespace platform {
class PredicateNode;
}

// A parsed condition over a dictionary, written in the predicate-format subset that version
// requirements use: key paths, numbers, strings, TRUE/FALSE/NULL, the comparison operators in all
// their spellings, BETWEEN {lo, hi}, IN {a, b}, NOT/AND/OR (and ! && ||), parentheses,
// TRUEPREDICATE and FALSEPREDICATE. Immutable, so one instance may be shared between threads.
class NSPredicate {
public:
    explicit NSPredicate(std::shared_ptr<const platform::PredicateNode> root);

    // nullptr, and an NSCocoaErrorDomain error 2048 naming the position and the reason, when the format
    // does not parse.
    static std::shared_ptr<NSPredicate> predicateWithFormat(std::string_view format,
                                                            NSErrorPtr* error = nullptr);
    static std::shared_ptr<NSPredicate> predicateWithValue(bool value);
    // The same parse, with the failure as a structured value for tools that point at the fault.
    static std::variant<std::shared_ptr<NSPredicate>, platform::PredicateParseError>
    parse(std::string_view format);

    bool evaluateWithObject(const Value& object) const;
    // A normalised rendering that parses back to an equivalent predicate.
    std::string predicateFormat() const;

private:
    std::shared_ptr<const platform::PredicateNode> m_root;
};
