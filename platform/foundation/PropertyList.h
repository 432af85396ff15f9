#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/NSError.h"
#include "foundation/Value.h"

namespace platform {

// Reads XML and binary property lists and writes XML ones. Input larger than `maximumInputSize` is
// refused before parsing. A failed read gives nothing (and an error when asked for one).
class PropertyList {
public:
    static constexpr std::size_t maximumInputSize = 16 * 1024 * 1024;

    static std::optional<Value> parse(const std::uint8_t* bytes, std::size_t length, NSErrorPtr* error = nullptr);
    static std::optional<Value> parse(std::string_view text, NSErrorPtr* error = nullptr);
    static std::optional<Value> readFile(std::string_view devicePath, NSErrorPtr* error = nullptr);

    // XML form of a value; nothing for a value a property list cannot hold (null anywhere in it).
    static std::optional<std::string> toXML(const Value& value);
    static bool writeFile(std::string_view devicePath, const Value& value, NSErrorPtr* error = nullptr);
};

} // namespace platform
