#include "platform/foundation/NSPredicate.h"

#include "platform/foundation/PredicateConstant.h"
#include "platform/foundation/PredicateParser.h"

namespace {

// formattingErrorCode, the code the platform gives format strings it cannot parse.
constexpr std::int64_t formattingErrorCode = 2048;

} // namespace

NSPredicate::NSPredicate(std::shared_ptr<const platform::PredicateNode> root)
    : m_root(root ? std::move(root) : std::make_shared<platform::PredicateConstant>(false)) {}

std::shared_ptr<NSPredicate> NSPredicate::predicateWithFormat(std::string_view format, NSErrorPtr* error) {
    auto result = parse(format);
    if (auto* failure = std::get_if<platform::PredicateParseError>(&result)) {
        reportError(error, NSCocoaErrorDomain, formattingErrorCode,
                    "Unable to parse the format string \"" + std::string(format) + "\" at position " +
                        std::to_string(failure->position) + ": " + failure->reason);
        return nullptr;
    }
    return std::get<std::shared_ptr<NSPredicate>>(std::move(result));
}

std::shared_ptr<NSPredicate> NSPredicate::predicateWithValue(bool value) {
    return std::make_shared<NSPredicate>(std::make_shared<platform::PredicateConstant>(value));
}

std::variant<std::shared_ptr<NSPredicate>, platform::PredicateParseError>
NSPredicate::parse(std::string_view format) {
    auto result = platform::PredicateParser(format).parse();
    if (auto* failure = std::get_if<platform::PredicateParseError>(&result))
        return std::move(*failure);
    auto root = std::get<std::unique_ptr<const platform::PredicateNode>>(std::move(result));
    return std::make_shared<NSPredicate>(std::shared_ptr<const platform::PredicateNode>(std::move(root)));
}

bool NSPredicate::evaluateWithObject(const Value& object) const {
    return m_root->evaluate(object);
}

std::string NSPredicate::predicateFormat() const {
    return m_root->format();
}
