#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// Counts how deeply the arrays and dictionaries of an XML property list nest, without building
// anything. libplist's XML reader builds a tree of any depth, then frees it recursively (on error as
// well as by its caller), so a file nested a few hundred thousand levels deep overflows the stack
// inside libplist. The scan steps through the text the way that reader does: comments, CDATA and
// processing instructions are skipped, double-quoted text inside a tag is passed over, and a tag
// ends at the next '<' or '>'.
//
// The same pass counts what the reader would build: every opening element but <plist> makes at most
// one node, and libplist 2.2 looks up every key of a dictionary among the keys before it, so a
// dictionary's key count bounds the cost of reading it (quadratic in that count).
struct XMLPropertyListShape {
    std::size_t depth = 0;
    std::size_t nodes = 0;
    std::size_t largestDictionaryKeys = 0;
};

class XMLPropertyListScanner {
public:
    static XMLPropertyListShape measure(std::string_view text);
    static std::size_t nestingDepth(std::string_view text) { return measure(text).depth; }
};

} // namespace platform
