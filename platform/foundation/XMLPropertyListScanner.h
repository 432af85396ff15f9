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
class XMLPropertyListScanner {
public:
    static std::size_t nestingDepth(std::string_view text);
};

} // namespace platform
