#pragma once

#include <cstdint>
#include <cstdlib>

// arc4random_uniform(upperBound) is the C library's name (declared by <cstdlib>); libplatform defines
// it, so every module linked with the platform draws from the one source below, which tests can seed.

namespace platform {

// The process's source of random numbers: seeded from the system at first use, or reproducibly by
// seed(). Thread-safe.
class RandomSource {
public:
    static void seed(std::uint64_t seed);
    // A value from 0 to upperBound - 1 without modulo bias; 0 when upperBound is below 2.
    static std::uint32_t uniform(std::uint32_t upperBound);
};

} // namespace platform
