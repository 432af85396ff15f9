#pragma once

#include <optional>
#include <string_view>

#include "platform/foundation/NSError.h"
#include "platform/foundation/Value.h"

// The file side of NSDictionary; the dictionary itself is a dictionary Value.
class NSDictionary {
public:
    // Nothing for a missing, unreadable or unparsable file, or one whose top level is not a dictionary.
    static std::optional<Value> dictionaryWithContentsOfFile(std::string_view devicePath,
                                                             NSErrorPtr* error = nullptr);
    // XML property list. Always written atomically: a plain write would gain nothing here and could
    // leave half a file behind. False for a value that is not a dictionary or has no property-list form.
    static bool writeToFile(const Value& dictionary, std::string_view devicePath, bool atomically,
                            NSErrorPtr* error = nullptr);
};
