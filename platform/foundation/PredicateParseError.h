#pragma once

#include <cstddef>
#include <string>

namespace platform {

// Why a predicate format did not parse: the 0-based byte offset of the offending token (the length of
// the format when it ended too early) and a sentence saying what was expected there.
struct PredicateParseError {
    std::size_t position = 0;
    std::string reason;
};

} // namespace platform
