// Reading binary property lists whose one array holds N references to a single string: each
// reference expands to its own node, so the time should grow with N and no faster.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/foundation/PropertyList.h"

namespace {

void putBigEndian(std::vector<std::uint8_t>& bytes, std::uint64_t value, int width) {
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

// bplist00 with two objects, an array of `count` one-byte references to object 1 and the string "x".
std::vector<std::uint8_t> referencesToOneString(std::uint32_t count) {
    std::vector<std::uint8_t> bytes{'b', 'p', 'l', 'i', 's', 't', '0', '0'};
    const std::uint32_t arrayOffset = static_cast<std::uint32_t>(bytes.size());
    bytes.insert(bytes.end(), {0xAF, 0x12});
    putBigEndian(bytes, count, 4);
    bytes.insert(bytes.end(), count, 1);
    const std::uint32_t stringOffset = static_cast<std::uint32_t>(bytes.size());
    bytes.insert(bytes.end(), {0x51, 'x'});
    const std::uint64_t tableOffset = bytes.size();
    putBigEndian(bytes, arrayOffset, 4);
    putBigEndian(bytes, stringOffset, 4);
    bytes.insert(bytes.end(), {0, 0, 0, 0, 0, 0, 4, 1});
    putBigEndian(bytes, 2, 8);
    putBigEndian(bytes, 0, 8);
    putBigEndian(bytes, tableOffset, 8);
    return bytes;
}

void BM_BinaryArrayOfSharedStrings(benchmark::State& state) {
    auto bytes = referencesToOneString(static_cast<std::uint32_t>(state.range(0)));
    for (auto _ : state) {
        auto value = platform::PropertyList::parse(bytes.data(), bytes.size());
        if (!value)
            state.SkipWithError("the list did not read");
        benchmark::DoNotOptimize(value);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_BinaryArrayOfSharedStrings)
    ->RangeMultiplier(2)
    ->Range(12'500, 200'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace

BENCHMARK_MAIN();
