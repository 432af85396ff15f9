// Random small systems, checked two ways: every required constraint holds after each step, and the
// incremental solver agrees with a solver built from scratch with the constraints still active.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <vector>

#include "platform/uikit/layout/Solver.h"

using namespace platform::layout;

namespace {

constexpr int kVariables = 6;
constexpr double kTolerance = 1e-6;

struct Edit {
    int variable;
    Strength strength;
    double value;
};

class RandomSystem {
public:
    explicit RandomSystem(unsigned seed) : m_random(seed) {
        for (int i = 0; i < kVariables; ++i) {
            m_variables.emplace_back("v" + std::to_string(i));
            m_hidden.push_back(pick(-50, 50));
            // A stay per variable, each at its own low priority: together they make the optimum
            // unique, so two solvers with the same constraints must agree exactly.
            m_stays.push_back((m_variables[i] == pick(-60, 60)) | Strength::fromPriority(10.0f + i));
        }
    }

    // Holds at the hidden point, so any set of these is satisfiable.
    Constraint satisfiable() {
        auto [expression, atHidden] = randomExpression();
        switch (pick(0, 2)) {
        case 0:
            return expression == atHidden;
        case 1:
            return expression <= atHidden + pick(0, 20);
        default:
            return expression >= atHidden - pick(0, 20);
        }
    }

    // Any relation at all, at a random non-required strength.
    Constraint preference() {
        auto [expression, atHidden] = randomExpression();
        static const float priorities[] = {900, 750, 500, 251, 250, 100};
        Strength strength = Strength::fromPriority(priorities[pick(0, 5)]).withWeight(pick(1, 3) / 2.0);
        double target = atHidden + pick(-30, 30);
        Constraint constraint = pick(0, 2) == 0 ? (expression == target)
                                : pick(0, 1)    ? (expression <= target)
                                                : (expression >= target);
        return constraint | strength;
    }

    // Contradicts a required constraint already present (or is plainly impossible).
    Constraint contradiction(const std::vector<Constraint>& required) {
        if (required.empty())
            return Expression(1) == 0;
        const Constraint& base =
            required[static_cast<std::size_t>(pick(0, static_cast<int>(required.size()) - 1))];
        Expression expression = base.expression();
        switch (base.relation()) {
        case Relation::Equal:
            return expression == pick(1, 9);
        case Relation::LessOrEqual:
            return expression >= pick(1, 9);
        case Relation::GreaterOrEqual:
            break;
        }
        return expression <= -pick(1, 9);
    }

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    const std::vector<Variable>& variables() const { return m_variables; }
    const std::vector<Constraint>& stays() const { return m_stays; }

private:
    std::pair<Expression, double> randomExpression() {
        Expression expression;
        double atHidden = 0;
        int terms = pick(1, 3);
        for (int t = 0; t < terms; ++t) {
            int index = pick(0, kVariables - 1);
            int coefficient = pick(-3, 3);
            if (coefficient == 0)
                coefficient = 1;
            // Thirds and halves as well as integers, so rounding gets exercised.
            double scaled = coefficient / static_cast<double>(pick(1, 3));
            expression += scaled * Expression(m_variables[index]);
            atHidden += scaled * m_hidden[index];
        }
        return {expression, atHidden};
    }

    std::mt19937 m_random;
    std::vector<Variable> m_variables;
    std::vector<double> m_hidden;
    std::vector<Constraint> m_stays;
};

std::vector<double> valuesOf(Solver& solver, const std::vector<Variable>& variables) {
    solver.updateVariables();
    std::vector<double> values;
    for (const Variable& variable : variables)
        values.push_back(variable.value());
    return values;
}

void expectHolds(const Constraint& constraint) {
    double value = constraint.expression().value();
    double slack = kTolerance * (1 + std::fabs(constraint.expression().constant()));
    switch (constraint.relation()) {
    case Relation::Equal:
        EXPECT_NEAR(value, 0, slack) << constraint.description();
        break;
    case Relation::LessOrEqual:
        EXPECT_LE(value, slack) << constraint.description();
        break;
    case Relation::GreaterOrEqual:
        EXPECT_GE(value, -slack) << constraint.description();
        break;
    }
}

void expectSameValues(const std::vector<double>& a, const std::vector<double>& b, const char* what) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        EXPECT_NEAR(a[i], b[i], 1e-6 * (1 + std::fabs(a[i]))) << what << ", variable " << i;
}

} // namespace

TEST(LayoutSolverRandom, IncrementalSolutionsMatchFreshSolvesAndKeepRequiredConstraints) {
    for (unsigned seed = 1; seed <= 250; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomSystem system(seed);
        Solver solver;
        for (const Constraint& stay : system.stays())
            ASSERT_EQ(solver.addConstraint(stay), AddResult::Added);
        std::vector<Constraint> required, preferences;
        std::vector<Edit> edits;

        for (int step = 0; step < 32; ++step) {
            int action = system.pick(0, 9);
            if (action <= 2) {
                required.push_back(system.satisfiable());
                ASSERT_EQ(solver.addConstraint(required.back()), AddResult::Added)
                    << required.back().description();
            } else if (action <= 4) {
                preferences.push_back(system.preference());
                ASSERT_EQ(solver.addConstraint(preferences.back()), AddResult::Added);
            } else if (action == 5 && !(required.empty() && preferences.empty())) {
                auto& pool =
                    required.empty() || (!preferences.empty() && system.pick(0, 1)) ? preferences : required;
                std::size_t victim =
                    static_cast<std::size_t>(system.pick(0, static_cast<int>(pool.size()) - 1));
                ASSERT_EQ(solver.removeConstraint(pool[victim]), RemoveResult::Removed);
                pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(victim));
            } else if (action == 6) {
                std::vector<double> before = valuesOf(solver, system.variables());
                Constraint bad = system.contradiction(required);
                ASSERT_EQ(solver.addConstraint(bad), AddResult::Unsatisfiable) << bad.description();
                expectSameValues(before, valuesOf(solver, system.variables()), "after a rejected constraint");
            } else if (action == 7 && edits.size() < 3) {
                int variable = system.pick(0, kVariables - 1);
                if (solver.hasEditVariable(system.variables()[variable])) {
                    EXPECT_EQ(solver.addEditVariable(system.variables()[variable], Strength::weak()),
                              EditResult::Duplicate);
                    continue;
                }
                Strength strength = Strength::fromPriority(system.pick(0, 1) ? 950.0f : 300.0f);
                ASSERT_EQ(solver.addEditVariable(system.variables()[variable], strength), EditResult::Done);
                edits.push_back(Edit{variable, strength, static_cast<double>(system.pick(-80, 80))});
                ASSERT_EQ(solver.suggestValue(system.variables()[variable], edits.back().value),
                          EditResult::Done);
            } else if (action == 8 && !edits.empty()) {
                Edit& edit =
                    edits[static_cast<std::size_t>(system.pick(0, static_cast<int>(edits.size()) - 1))];
                edit.value = system.pick(-80, 80);
                ASSERT_EQ(solver.suggestValue(system.variables()[edit.variable], edit.value),
                          EditResult::Done);
            } else if (action == 9 && !edits.empty()) {
                ASSERT_EQ(solver.removeEditVariable(system.variables()[edits.back().variable]),
                          EditResult::Done);
                edits.pop_back();
            }

            solver.updateVariables();
            for (const Constraint& constraint : required)
                expectHolds(constraint);

            // Every few steps (building afresh is what makes this test slow under sanitizers).
            if (step % 4 != 3)
                continue;
            Solver fresh;
            for (const Constraint& stay : system.stays())
                fresh.addConstraint(stay);
            for (const auto* pool : {&required, &preferences}) {
                for (const Constraint& constraint : *pool)
                    ASSERT_EQ(fresh.addConstraint(constraint), AddResult::Added);
            }
            for (const Edit& edit : edits) {
                fresh.addEditVariable(system.variables()[edit.variable], edit.strength);
                fresh.suggestValue(system.variables()[edit.variable], edit.value);
            }
            std::vector<double> expected = valuesOf(fresh, system.variables());
            expectSameValues(valuesOf(solver, system.variables()), expected, "incremental vs fresh");
            if (testing::Test::HasFailure())
                return;
        }
    }
}
