// Builds a layout system from the fuzzer's bytes and changes it step by step; after every step the
// incremental solver must keep its required constraints and be at the exact lexicographic optimum.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/support/layout/ByteChoices.h"
#include "tests/support/layout/IncrementalSystem.h"

namespace {

constexpr int kMostSteps = 24;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    layout_testing::ByteChoices choices(data, size);
    // The first byte says how many steps follow the initial system.
    int steps = choices.pick(0, kMostSteps);
    layout_testing::IncrementalSystem system(choices);
    std::optional<std::string> mismatch = system.mismatch();
    for (int step = 0; step < steps && !mismatch; ++step) {
        system.step();
        mismatch = system.mismatch();
    }
    if (mismatch) {
        std::fprintf(stderr, "%s\n", mismatch->c_str());
        std::abort();
    }
    return 0;
}
