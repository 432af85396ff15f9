// Feeds arbitrary bytes to the property-list reader and what it reads to the specifier-list reader,
// as a pane's list reaches it. Every dictionary item becomes exactly one row that keeps its keys.
#include <cstddef>
#include <cstdint>

#include "platform/foundation/PropertyList.h"
#include "platform/preferences/SpecifierListReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto list = platform::PropertyList::parse(data, size);
    if (!list)
        return 0;
    auto rows = platform::SpecifierListReader::specifiersFromList(*list, nullptr);
    if (!list->isDictionary()) {
        if (rows)
            __builtin_trap();
        return 0;
    }
    if (!rows)
        __builtin_trap();
    std::size_t dictionaries = 0;
    for (const auto& item : (*list)["items"].asArray())
        dictionaries += item.isDictionary();
    if (rows->size() != dictionaries)
        __builtin_trap();
    std::size_t index = 0;
    for (const auto& item : (*list)["items"].asArray()) {
        if (!item.isDictionary())
            continue;
        const auto& row = (*rows)[index++];
        for (const auto& [key, value] : item.asDictionary())
            if (row->propertyForKey(key).description() != value.description())
                __builtin_trap();
    }
    return 0;
}
