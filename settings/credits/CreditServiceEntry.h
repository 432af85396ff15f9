#pragma once

#include <memory>

#include "settings/credits/KVCorvaleCreditOption.h"
#include "platform/foundation/Value.h"

namespace corvale {

// The option for one entry of a credit's "services" list ({"service", "username",
// "forcedFormattedUsername"}). A missing or non-string username becomes the empty string, a
// non-string forced name counts as absent, and an unknown service leaves the option without one.
std::shared_ptr<KVCorvaleCreditOption> creditOptionForServiceEntry(const Value& entry);

} // namespace corvale
