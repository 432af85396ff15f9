#include "settings/credits/CreditsAnswer.h"

#include "platform/foundation/NSJSONSerialization.h"

namespace corvale {

CreditsAnswer CreditsAnswer::read(const std::shared_ptr<NSData>& body, const NSErrorPtr& transportError) {
    CreditsAnswer answer;
    if (!body || transportError) {
        answer.error = transportError;
        return answer;
    }
    auto parsed = NSJSONSerialization::JSONObjectWithData(body->bytes(), &answer.error);
    if (!parsed)
        return answer;
    if (!parsed->isDictionary()) {
        answer.error = NSError::errorWithDomain(NSCocoaErrorDomain, NSJSONSerialization::readCorruptError,
                                                "The credits answer is not a JSON object.");
        return answer;
    }
    answer.error = nullptr;
    auto hash = creditsHashOf(*parsed);
    if (!hash)
        return answer;
    answer.object = std::move(*parsed);
    answer.hash = std::move(*hash);
    answer.usable = true;
    return answer;
}

std::optional<std::string> creditsHashOf(const Value& object) {
    const Value& hash = object["hash"];
    if (!hash.isString())
        return std::nullopt;
    return hash.asString();
}

} // namespace corvale
