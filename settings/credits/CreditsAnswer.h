#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/NSData.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/Value.h"

namespace corvale {

// The largest credits or hash answer taken from the server, and the largest cache file read: a
// credits list is a few kilobytes, and a larger body only costs memory to parse.
inline constexpr std::size_t maximumCreditsAnswerLength = 1024 * 1024;

// A credits-server answer (full credits or hash) as the credits manager judges it: usable when the
// body is a JSON object with a string "hash".
struct CreditsAnswer {
    Value object; // the parsed dictionary when usable
    std::string hash;
    bool usable = false;
    // Why it is not usable: the transport error, the parser's error, an error for a top level that is
    // not an object, or nil for an object without "hash".
    NSErrorPtr error;

    static CreditsAnswer read(const std::shared_ptr<NSData>& body, const NSErrorPtr& transportError);
};

// The object's "hash" when it is a string; nothing otherwise (a number is not a hash we can compare).
std::optional<std::string> creditsHashOf(const Value& object);

} // namespace corvale
