#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace platform {

// The shape of a binary property list ("bplist00"), read from its object table without building it:
// how deeply its collections nest and how many nodes it expands to once shared objects are copied
// out. The binary reader in libplist recurses once per level and copies a shared object for every
// reference to it, so a small hostile file can exhaust the stack or memory; measuring first lets
// the caller refuse such a file before handing it over.
struct BinaryPropertyListShape {
    // Collections on the deepest path (0 for a single scalar).
    std::size_t depth = 0;
    // Nodes the reader would make.
    std::size_t nodes = 0;

    // Measuring stops as soon as either limit is passed; the shape then reports the passed limit
    // plus one. Nothing when the bytes are not a well-formed binary property list: bad trailer,
    // offsets or references outside the data, a dictionary key that is not a string, or a
    // collection that contains itself.
    static std::optional<BinaryPropertyListShape> measure(const std::uint8_t* bytes, std::size_t length,
                                                          std::size_t depthLimit, std::size_t nodeLimit);
};

} // namespace platform
