#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "platform/foundation/PredicateExpression.h"
#include "platform/foundation/PredicateLexer.h"
#include "platform/foundation/PredicateNode.h"
#include "platform/foundation/PredicateParseError.h"

namespace platform {

// Recursive descent over the version-requirement subset of the predicate format:
//
//   predicate  := or END
//   or         := and ((OR | '||') and)*
//   and        := not ((AND | '&&') not)*
//   not        := (NOT | '!')* primary
//   primary    := '(' or ')' | TRUEPREDICATE | FALSEPREDICATE | comparison
//   comparison := operand (compare operand | BETWEEN list | IN (list | operand))
//   operand    := keyPath | number | string | TRUE | YES | FALSE | NO | NULL | NIL
//   list       := '{' [operand (',' operand)*] '}'
//
// Parentheses and NOTs together may nest at most maximumNestingDepth deep, which bounds both the
// parser's recursion and the depth of the tree it builds.
class PredicateParser {
public:
    static constexpr std::size_t maximumNestingDepth = 256;

    explicit PredicateParser(std::string_view format) : m_lexer(format) {}

    std::variant<std::unique_ptr<const PredicateNode>, PredicateParseError> parse();

private:
    using NodePtr = std::unique_ptr<const PredicateNode>;

    NodePtr parseOr();
    NodePtr parseAnd();
    NodePtr parseNot();
    NodePtr parsePrimary();
    NodePtr parseParenthesized();
    NodePtr parseComparison();
    NodePtr parseBetween(PredicateExpression left);
    NodePtr parseIn(PredicateExpression left);
    std::optional<PredicateExpression> parseOperand();
    std::optional<PredicateExpression> parseKeyPath();
    std::optional<PredicateExpression> parseList();

    bool advance();
    bool enterNesting();
    // Records the first error only; always returns nullptr so callers can `return fail(...)`.
    std::nullptr_t fail(std::size_t position, std::string reason);
    PredicateParseError takeError();
    std::string describeCurrent() const;
    std::string keyOfCurrent() const;

    PredicateLexer m_lexer;
    PredicateToken m_token;
    std::optional<PredicateParseError> m_error;
    std::size_t m_depth = 0;
};

} // namespace platform
