#pragma once

#include <cstddef>

// A span of a string in UTF-16 code units, as the platform counts string lengths.
struct NSRange {
    std::size_t location = 0;
    std::size_t length = 0;
    friend bool operator==(const NSRange&, const NSRange&) = default;
};

constexpr NSRange NSMakeRange(std::size_t location, std::size_t length) {
    return {location, length};
}
constexpr std::size_t NSMaxRange(NSRange range) {
    return range.location + range.length;
}
