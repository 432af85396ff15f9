#include "settings/credits/CreditServiceEntry.h"

namespace corvale {

std::shared_ptr<KVCorvaleCreditOption> creditOptionForServiceEntry(const Value& entry) {
    const Value& username = entry["username"];
    const Value& forced = entry["forcedFormattedUsername"];
    const Value& service = entry["service"];
    return KVCorvaleCreditOption::initWithUsername(
        username.isString() ? username.asString() : std::string(),
        service.isString() ? KVCorvaleCreditService::serviceWithName(service.asString()) : nullptr,
        forced.isString() ? std::optional<std::string>(forced.asString()) : std::nullopt);
}

} // namespace corvale
