#include "platform/foundation/RandomSource.h"

#include <mutex>
#include <random>

namespace {

// splitmix64: tiny, fast and good enough for placement jitter; not for secrets.
class SplitMix64 {
public:
    void seed(std::uint64_t seed) { m_state = seed; }
    std::uint64_t next() {
        std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

private:
    std::uint64_t m_state = 0;
};

struct SharedGenerator {
    std::mutex mutex;
    SplitMix64 generator;
    bool seeded = false;
};

SharedGenerator& sharedGenerator() {
    static SharedGenerator shared;
    return shared;
}

std::uint32_t next32Locked(SharedGenerator& shared) {
    if (!shared.seeded) {
        std::random_device device;
        shared.generator.seed((std::uint64_t{device()} << 32) | device());
        shared.seeded = true;
    }
    return static_cast<std::uint32_t>(shared.generator.next() >> 32);
}

} // namespace

namespace platform {

void RandomSource::seed(std::uint64_t seed) {
    auto& shared = sharedGenerator();
    std::lock_guard lock(shared.mutex);
    shared.generator.seed(seed);
    shared.seeded = true;
}

std::uint32_t RandomSource::uniform(std::uint32_t upperBound) {
    if (upperBound < 2)
        return 0;
    // Values below 2^32 mod upperBound would make the low results more likely: draw again.
    const std::uint32_t threshold = static_cast<std::uint32_t>(-upperBound) % upperBound;
    auto& shared = sharedGenerator();
    std::lock_guard lock(shared.mutex);
    for (;;) {
        const std::uint32_t value = next32Locked(shared);
        if (value >= threshold)
            return value % upperBound;
    }
}

} // namespace platform

extern "C" std::uint32_t arc4random_uniform(std::uint32_t upperBound) noexcept {
    return platform::RandomSource::uniform(upperBound);
}
