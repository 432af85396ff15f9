#pragma once

#include <optional>
#include <vector>

#include "tests/support/layout/ReferenceConstraint.h"

namespace layout_testing {

// The least total error at each priority level, highest level first.
struct LevelTotal {
    float priority;
    double total;
};

// The exact lexicographic optimum of a constraint system, found with GLPK as one linear program
// per priority level from the highest down: each minimises its level's total error subject to
// the required constraints and to every higher level staying at the optimum found for it.
//
// A level's optimum is kept by fixing, after its solve, every column and row whose reduced cost is
// not zero at its bound: by complementary slackness those are exactly the points at which the
// level is optimal, and no tolerance on the optimum value is needed.
class LexicographicReference {
public:
    // Empty when the required constraints have no common solution (or GLPK gives up).
    static std::optional<std::vector<LevelTotal>> solve(int variables,
                                                        const std::vector<ReferenceConstraint>& constraints);
};

} // namespace layout_testing
