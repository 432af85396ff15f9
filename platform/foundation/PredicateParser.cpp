#include "platform/foundation/PredicateParser.h"

#include <vector>

#include "platform/foundation/PredicateComparison.h"
#include "platform/foundation/PredicateCompound.h"
#include "platform/foundation/PredicateConstant.h"

namespace platform {

namespace {

using Kind = PredicateToken::Kind;

std::optional<PredicateComparison::Operator> comparisonOperator(Kind kind) {
    using Operator = PredicateComparison::Operator;
    switch (kind) {
    case Kind::Equal:
        return Operator::Equal;
    case Kind::NotEqual:
        return Operator::NotEqual;
    case Kind::Less:
        return Operator::Less;
    case Kind::LessOrEqual:
        return Operator::LessOrEqual;
    case Kind::Greater:
        return Operator::Greater;
    case Kind::GreaterOrEqual:
        return Operator::GreaterOrEqual;
    default:
        return std::nullopt;
    }
}

bool isReservedWordToken(Kind kind) {
    switch (kind) {
    case Kind::And:
    case Kind::Or:
    case Kind::Not:
    case Kind::Between:
    case Kind::In:
    case Kind::TruePredicate:
    case Kind::FalsePredicate:
    case Kind::Unsupported:
        return true;
    default:
        return false;
    }
}

} // namespace

std::variant<std::unique_ptr<const PredicateNode>, PredicateParseError> PredicateParser::parse() {
    if (!advance())
        return takeError();
    if (m_token.kind == Kind::End)
        return PredicateParseError{m_token.position, "the format is empty"};
    NodePtr root = parseOr();
    if (!root)
        return takeError();
    if (m_token.kind == Kind::RightParen)
        return PredicateParseError{m_token.position, "')' without a matching '('"};
    if (m_token.kind != Kind::End)
        return PredicateParseError{m_token.position,
                                   "unexpected " + describeCurrent() + " after a complete predicate"};
    return root;
}

PredicateParser::NodePtr PredicateParser::parseOr() {
    NodePtr first = parseAnd();
    if (!first || m_token.kind != Kind::Or)
        return first;
    std::vector<NodePtr> subpredicates;
    subpredicates.push_back(std::move(first));
    while (m_token.kind == Kind::Or) {
        if (!advance())
            return nullptr;
        NodePtr next = parseAnd();
        if (!next)
            return nullptr;
        subpredicates.push_back(std::move(next));
    }
    return std::make_unique<PredicateCompound>(PredicateCompound::Type::Or, std::move(subpredicates));
}

PredicateParser::NodePtr PredicateParser::parseAnd() {
    NodePtr first = parseNot();
    if (!first || m_token.kind != Kind::And)
        return first;
    std::vector<NodePtr> subpredicates;
    subpredicates.push_back(std::move(first));
    while (m_token.kind == Kind::And) {
        if (!advance())
            return nullptr;
        NodePtr next = parseNot();
        if (!next)
            return nullptr;
        subpredicates.push_back(std::move(next));
    }
    return std::make_unique<PredicateCompound>(PredicateCompound::Type::And, std::move(subpredicates));
}

// NOTs are counted rather than recursed into, then wrapped around the primary they precede.
PredicateParser::NodePtr PredicateParser::parseNot() {
    std::size_t negations = 0;
    while (m_token.kind == Kind::Not) {
        if (!enterNesting() || !advance())
            return nullptr;
        ++negations;
    }
    NodePtr node = parsePrimary();
    m_depth -= negations;
    if (!node)
        return nullptr;
    for (std::size_t i = 0; i < negations; ++i) {
        std::vector<NodePtr> subpredicate;
        subpredicate.push_back(std::move(node));
        node = std::make_unique<PredicateCompound>(PredicateCompound::Type::Not, std::move(subpredicate));
    }
    return node;
}

PredicateParser::NodePtr PredicateParser::parsePrimary() {
    switch (m_token.kind) {
    case Kind::LeftParen:
        return parseParenthesized();
    case Kind::TruePredicate:
    case Kind::FalsePredicate: {
        bool value = m_token.kind == Kind::TruePredicate;
        if (!advance())
            return nullptr;
        return std::make_unique<PredicateConstant>(value);
    }
    default:
        return parseComparison();
    }
}

PredicateParser::NodePtr PredicateParser::parseParenthesized() {
    std::size_t opening = m_token.position;
    if (!enterNesting() || !advance())
        return nullptr;
    NodePtr inner = parseOr();
    if (!inner)
        return nullptr;
    if (m_token.kind != Kind::RightParen)
        return fail(m_token.position, "expected ')' to close the '(' at position " + std::to_string(opening) +
                                          " but found " + describeCurrent());
    --m_depth;
    if (!advance())
        return nullptr;
    return inner;
}

PredicateParser::NodePtr PredicateParser::parseComparison() {
    std::optional<PredicateExpression> left = parseOperand();
    if (!left)
        return nullptr;
    if (m_token.kind == Kind::Between)
        return parseBetween(std::move(*left));
    if (m_token.kind == Kind::In)
        return parseIn(std::move(*left));
    auto op = comparisonOperator(m_token.kind);
    if (!op)
        return fail(m_token.position, "expected a comparison operator after '" + left->format() +
                                          "' but found " + describeCurrent());
    if (!advance())
        return nullptr;
    std::optional<PredicateExpression> right = parseOperand();
    if (!right)
        return nullptr;
    return std::make_unique<PredicateComparison>(std::move(*left), *op, std::move(*right));
}

PredicateParser::NodePtr PredicateParser::parseBetween(PredicateExpression left) {
    if (!advance())
        return nullptr;
    std::size_t listPosition = m_token.position;
    if (m_token.kind != Kind::LeftBrace)
        return fail(listPosition,
                    "BETWEEN needs a list of two values such as {1, 2} but found " + describeCurrent());
    std::optional<PredicateExpression> bounds = parseList();
    if (!bounds)
        return nullptr;
    if (bounds->itemCount() != 2)
        return fail(listPosition, "BETWEEN needs a list of exactly two values but the list has " +
                                      std::to_string(bounds->itemCount()));
    return std::make_unique<PredicateComparison>(std::move(left), PredicateComparison::Operator::Between,
                                                 std::move(*bounds));
}

PredicateParser::NodePtr PredicateParser::parseIn(PredicateExpression left) {
    if (!advance())
        return nullptr;
    std::optional<PredicateExpression> collection =
        m_token.kind == Kind::LeftBrace ? parseList() : parseOperand();
    if (!collection)
        return nullptr;
    return std::make_unique<PredicateComparison>(std::move(left), PredicateComparison::Operator::In,
                                                 std::move(*collection));
}

std::optional<PredicateExpression> PredicateParser::parseOperand() {
    switch (m_token.kind) {
    case Kind::Identifier:
        return parseKeyPath();
    case Kind::Number:
    case Kind::String:
    case Kind::True:
    case Kind::False:
    case Kind::Null: {
        Value value = m_token.kind == Kind::True    ? Value(true)
                      : m_token.kind == Kind::False ? Value(false)
                                                    : m_token.value;
        if (!advance())
            return std::nullopt;
        return PredicateExpression::constant(std::move(value));
    }
    default:
        break;
    }
    if (isReservedWordToken(m_token.kind))
        fail(m_token.position, describeCurrent() + " is a reserved word; write #" +
                                   std::string(m_token.text) + " to use it as a key");
    else
        fail(m_token.position, "expected a key path or a value but found " + describeCurrent());
    return std::nullopt;
}

std::optional<PredicateExpression> PredicateParser::parseKeyPath() {
    std::vector<std::string> components{keyOfCurrent()};
    if (!advance())
        return std::nullopt;
    while (m_token.kind == Kind::Dot) {
        if (!advance())
            return std::nullopt;
        if (m_token.kind != Kind::Identifier) {
            fail(m_token.position, "expected a key after '.' but found " + describeCurrent());
            return std::nullopt;
        }
        components.push_back(keyOfCurrent());
        if (!advance())
            return std::nullopt;
    }
    return PredicateExpression::keyPath(std::move(components));
}

std::optional<PredicateExpression> PredicateParser::parseList() {
    std::size_t opening = m_token.position;
    if (!advance())
        return std::nullopt;
    std::vector<PredicateExpression> items;
    if (m_token.kind == Kind::RightBrace)
        return advance() ? std::optional(PredicateExpression::aggregate({})) : std::nullopt;
    while (true) {
        std::optional<PredicateExpression> item = parseOperand();
        if (!item)
            return std::nullopt;
        items.push_back(std::move(*item));
        if (m_token.kind == Kind::RightBrace)
            break;
        if (m_token.kind != Kind::Comma) {
            fail(m_token.position, "expected ',' or '}' in the list opened at position " +
                                       std::to_string(opening) + " but found " + describeCurrent());
            return std::nullopt;
        }
        if (!advance())
            return std::nullopt;
    }
    if (!advance())
        return std::nullopt;
    return PredicateExpression::aggregate(std::move(items));
}

bool PredicateParser::advance() {
    auto next = m_lexer.next();
    if (auto* error = std::get_if<PredicateParseError>(&next)) {
        if (!m_error)
            m_error = std::move(*error);
        return false;
    }
    m_token = std::move(std::get<PredicateToken>(next));
    return true;
}

bool PredicateParser::enterNesting() {
    if (m_depth >= maximumNestingDepth) {
        fail(m_token.position,
             "the predicate nests deeper than " + std::to_string(maximumNestingDepth) + " levels");
        return false;
    }
    ++m_depth;
    return true;
}

std::nullptr_t PredicateParser::fail(std::size_t position, std::string reason) {
    if (!m_error)
        m_error = PredicateParseError{position, std::move(reason)};
    return nullptr;
}

std::string PredicateParser::describeCurrent() const {
    if (m_token.kind == Kind::End)
        return "the end of the format";
    constexpr std::size_t longestQuote = 40;
    std::string quote = m_token.text.size() > longestQuote
                            ? std::string(m_token.text.substr(0, longestQuote)) + "..."
                            : std::string(m_token.text);
    if (m_token.kind == Kind::Unsupported)
        return "'" + quote + "' (not supported here)";
    return "'" + quote + "'";
}

PredicateParseError PredicateParser::takeError() {
    return m_error.value_or(PredicateParseError{m_token.position, "unreadable predicate"});
}

std::string PredicateParser::keyOfCurrent() const {
    return std::string(m_token.escaped ? m_token.text.substr(1) : m_token.text);
}

} // namespace platform
