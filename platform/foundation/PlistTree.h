#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/foundation/Value.h"

namespace platform {

// Owns one libplist tree and converts it to and from Value. The root is held as libplist's opaque
// `plist_t` (a `void*`), so that libplist's header stays inside the library.
class PlistTree {
public:
    PlistTree() = default;
    explicit PlistTree(void* root) : m_root(root) {}
    ~PlistTree();
    PlistTree(PlistTree&& other) noexcept : m_root(other.release()), m_mayBeDeep(other.m_mayBeDeep) {}
    PlistTree& operator=(PlistTree&& other) noexcept;
    PlistTree(const PlistTree&) = delete;
    PlistTree& operator=(const PlistTree&) = delete;

    void* get() const { return m_root; }
    // Gives up ownership without freeing.
    void* release();
    explicit operator bool() const { return m_root != nullptr; }

    // The tree of a value; empty when the value holds what a property list cannot: a null, a string
    // or key with a NUL character, a date that is not a number, or collections nested deeper than
    // `maximumDepth`. libplist takes a date's seconds as a 32-bit number, so a date before December
    // 1933 or after January 2069 is written as the nearest end of that range.
    static PlistTree fromValue(const Value& value, std::size_t maximumDepth);
    // The value of the tree; nothing when a node has no Value form or collections nest deeper than
    // `maximumDepth`. A keyed-archive UID reads as {"CF$UID": n}, the way XML spells it.
    std::optional<Value> toValue(std::size_t maximumDepth) const;
    std::optional<std::string> toXML() const;

private:
    void destroy();

    void* m_root = nullptr;
    // A tree of unknown depth (one parsed from outside) is freed in pieces; see PlistTree.cpp.
    mutable bool m_mayBeDeep = true;
};

} // namespace platform
