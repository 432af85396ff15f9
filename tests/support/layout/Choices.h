#pragma once

namespace layout_testing {

// Where a random layout system gets its decisions: a seeded generator in the suite, the fuzzer's
// bytes in the fuzz target.
class Choices {
public:
    virtual ~Choices() = default;
    // A whole number from low to high, both included.
    virtual int pick(int low, int high) = 0;
};

} // namespace layout_testing
