// Feeds arbitrary bytes to the property-list reader. Whatever it accepts must write out as XML that
// reads back to the same value, and the early depth count of an XML list must never fall short of
// the depth that was read.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/foundation/PropertyList.h"
#include "platform/foundation/XMLPropertyListScanner.h"

namespace {

// Dates outside what libplist holds are clamped on writing, so they may read back different.
bool holdsDate(const Value& value) {
    if (value.isDate())
        return true;
    for (const auto& item : value.asArray())
        if (holdsDate(item))
            return true;
    for (const auto& [key, item] : value.asDictionary())
        if (holdsDate(item))
            return true;
    return false;
}

std::size_t nestingDepth(const Value& value) {
    if (!value.isArray() && !value.isDictionary())
        return 0;
    std::size_t deepest = 0;
    for (const auto& item : value.asArray())
        deepest = std::max(deepest, nestingDepth(item));
    for (const auto& [key, item] : value.asDictionary())
        deepest = std::max(deepest, nestingDepth(item));
    return deepest + 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto value = platform::PropertyList::parse(data, size);
    if (!value)
        return 0;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!text.starts_with("bplist") &&
        platform::XMLPropertyListScanner::nestingDepth(text) < nestingDepth(*value))
        __builtin_trap();
    // A string with a NUL character (possible in binary input) has no XML form.
    auto xml = platform::PropertyList::toXML(*value);
    if (!xml)
        return 0;
    auto again = platform::PropertyList::parse(*xml);
    if (!again)
        __builtin_trap();
    if (!holdsDate(*value) && again->description() != value->description())
        __builtin_trap();
    return 0;
}
