#pragma once

#include <optional>
#include <string_view>

#include "platform/foundation/NSError.h"
#include "platform/foundation/Value.h"

// The file side of NSArray; the array itself is an array Value.
class NSArray {
public:
    // Nothing for a missing, unreadable or unparsable file, or one whose top level is not an array.
    static std::optional<Value> arrayWithContentsOfFile(std::string_view devicePath,
                                                        NSErrorPtr* error = nullptr);
    // XML property list, always written atomically (see NSDictionary::writeToFile). False for a value
    // that is not an array or has no property-list form.
    static bool writeToFile(const Value& array, std::string_view devicePath, bool atomically,
                            NSErrorPtr* error = nullptr);
};
