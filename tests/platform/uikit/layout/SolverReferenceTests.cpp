// The incremental solver against an exact reference: after every change to a random system its
// total error at each priority level must be the lexicographic optimum.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/layout/IncrementalSystem.h"
#include "tests/support/layout/LexicographicReference.h"
#include "tests/support/layout/RandomChoices.h"

using layout_testing::IncrementalSystem;
using layout_testing::RandomChoices;

namespace {

constexpr unsigned kSystems = 2000;
constexpr int kSteps = 6;

std::optional<std::string> firstMismatch(unsigned seed, int steps = kSteps) {
    RandomChoices choices(seed);
    IncrementalSystem system(choices);
    std::optional<std::string> mismatch = system.mismatch();
    for (int step = 0; step < steps && !mismatch; ++step) {
        system.step();
        mismatch = system.mismatch();
    }
    return mismatch;
}

unsigned numberFromEnvironment(const char* name, unsigned fallback) {
    const char* text = std::getenv(name);
    return text ? static_cast<unsigned>(std::stoul(text)) : fallback;
}

} // namespace

TEST(LayoutSolverReference, RandomIncrementalSystemsStayAtTheLexicographicOptimum) {
    for (unsigned seed = 1; seed <= kSystems; ++seed) {
        std::optional<std::string> mismatch = firstMismatch(seed);
        ASSERT_FALSE(mismatch) << "seed " << seed << ": " << *mismatch;
    }
}

// A long search by hand: LAYOUT_SEEDS_FROM=... LAYOUT_SEEDS_TO=... [LAYOUT_STEPS=...] layout_tests
// --gtest_also_run_disabled_tests --gtest_filter='*LongSearch*'
TEST(LayoutSolverReference, DISABLED_LongSearch) {
    unsigned from = numberFromEnvironment("LAYOUT_SEEDS_FROM", 1);
    unsigned to = numberFromEnvironment("LAYOUT_SEEDS_TO", 100000);
    int steps = static_cast<int>(numberFromEnvironment("LAYOUT_STEPS", kSteps));
    for (unsigned seed = from; seed <= to; ++seed) {
        std::optional<std::string> mismatch = firstMismatch(seed, steps);
        EXPECT_FALSE(mismatch) << "seed " << seed << ": " << *mismatch;
    }
}

// The reference itself, on a system small enough to solve by hand: the required bound caps x at
// 20, which leaves 10 of strong error; y follows x at medium for free; the weak stays pay the rest.
TEST(LayoutSolverReference, ReferenceSolvesLevelByLevel) {
    using layout_testing::ReferenceConstraint;
    using platform::layout::Relation;
    std::vector<ReferenceConstraint> system{
        {{{0, 1.0}}, -20.0, Relation::LessOrEqual, 1000.0f, 1.0},
        {{{0, 1.0}}, -30.0, Relation::GreaterOrEqual, 750.0f, 1.0},
        {{{1, 1.0}, {0, -1.0}}, 0.0, Relation::Equal, 500.0f, 1.0},
        {{{0, 1.0}}, 0.0, Relation::Equal, 250.0f, 1.0},
        {{{1, 1.0}}, -5.0, Relation::Equal, 250.0f, 2.0},
    };
    auto levels = layout_testing::LexicographicReference::solve(2, system);
    ASSERT_TRUE(levels);
    ASSERT_EQ(levels->size(), 3u);
    EXPECT_EQ((*levels)[0].priority, 750.0f);
    EXPECT_NEAR((*levels)[0].total, 10.0, 1e-9);
    EXPECT_NEAR((*levels)[1].total, 0.0, 1e-9);
    EXPECT_NEAR((*levels)[2].total, 20.0 + 2 * 15.0, 1e-9);

    system.push_back({{{0, 1.0}}, -25.0, Relation::GreaterOrEqual, 1000.0f, 1.0});
    EXPECT_FALSE(layout_testing::LexicographicReference::solve(2, system)) << "x <= 20 and x >= 25";
}
