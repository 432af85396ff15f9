#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/NSError.h"
#include "platform/foundation/Value.h"

namespace platform {

// Reads XML and binary property lists and writes XML ones. Input larger than `maximumInputSize` is
// refused before parsing, and so are collections nested deeper than `maximumDepth`, lists that would
// expand to more than `maximumNodes` nodes, and XML dictionaries of more than
// `maximumXMLDictionaryKeys` keys (libplist's XML reader is quadratic in a dictionary's size), so
// that every list that is read takes time linear in its size. A failed read gives nothing (and an
// NSCocoaErrorDomain error when asked for one). The writer keeps to the same limits, so that whatever
// it wrote reads back: a preference domain that did not read back would be lost at its next change.
class PropertyList {
public:
    static constexpr std::size_t maximumInputSize = 64 * 1024 * 1024;
    static constexpr std::size_t maximumDepth = 1000;
    static constexpr std::size_t maximumNodes = 300'000;
    static constexpr std::size_t maximumXMLDictionaryKeys = 4'096;

    // NSCocoaErrorDomain codes: unreadable data, and a value with no property-list form.
    static constexpr std::int64_t readCorruptError = 3840;
    static constexpr std::int64_t writeInvalidError = 3852;

    static std::optional<Value> parse(const std::uint8_t* bytes, std::size_t length,
                                      NSErrorPtr* error = nullptr);
    static std::optional<Value> parse(std::string_view text, NSErrorPtr* error = nullptr);
    static std::optional<Value> readFile(std::string_view devicePath, NSErrorPtr* error = nullptr);

    // XML form of a value; nothing for a value a property list cannot hold: a null anywhere in it, a
    // string or key with a NUL character, a date that is not a number, nesting deeper than
    // `maximumDepth`, or a text longer than `maximumInputSize`. Dates before December 1933 or after January
    // 2069 are written as the nearest end of that range, which is all libplist can hold.
    static std::optional<std::string> toXML(const Value& value);
    // Writes the XML form atomically (a temporary file renamed over the target); the folder must exist.
    static bool writeFile(std::string_view devicePath, const Value& value, NSErrorPtr* error = nullptr);
};

} // namespace platform
