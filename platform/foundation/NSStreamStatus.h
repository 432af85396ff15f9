#pragma once

#include <cstdint>

// Where a stream is in its life, with the platform's names and numbers.
enum NSStreamStatus : std::uint64_t {
    NSStreamStatusNotOpen = 0,
    NSStreamStatusOpening = 1,
    NSStreamStatusOpen = 2,
    NSStreamStatusReading = 3,
    NSStreamStatusWriting = 4,
    NSStreamStatusAtEnd = 5,
    NSStreamStatusClosed = 6,
    NSStreamStatusError = 7,
};
