#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/NSError.h"
#include "platform/foundation/Value.h"

// JSON to Value and back. Objects become dictionaries, integers Integer (unsigned ones past the
// signed 64-bit range become Real), other numbers Real, null the null Value. Reading accepts any
// JSON value at the top level; writing follows the platform: the top level must be an array or a
// dictionary, and data, dates, NaN and infinities have no JSON form. Failures come back as an
// NSCocoaErrorDomain error, never an exception.
class NSJSONSerialization {
public:
    static constexpr std::size_t maximumDepth = 512;
    static constexpr std::int64_t readCorruptError = 3840;
    static constexpr std::int64_t writeInvalidError = 3852;

    // The error's description is the parser's message, which says where the text went wrong.
    static std::optional<Value> JSONObjectWithData(const std::vector<std::uint8_t>& data,
                                                   NSErrorPtr* error = nullptr);
    static std::optional<Value> JSONObjectWithData(std::string_view text, NSErrorPtr* error = nullptr);
    // Compact UTF-8 JSON (no spaces or line breaks). Bytes that are not UTF-8 in a string are
    // replaced by U+FFFD rather than written out as invalid JSON.
    static std::optional<std::string> dataWithJSONObject(const Value& value, NSErrorPtr* error = nullptr);
    static bool isValidJSONObject(const Value& value);
};
