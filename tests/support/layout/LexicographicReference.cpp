#include "tests/support/layout/LexicographicReference.h"

#include <glpk.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace layout_testing {

using platform::layout::Relation;

namespace {

constexpr double kNonZeroReducedCost = 1e-9;

struct ProblemDeleter {
    void operator()(glp_prob* problem) const { glp_delete_prob(problem); }
};
using Problem = std::unique_ptr<glp_prob, ProblemDeleter>;

struct ErrorColumn {
    int column;
    float priority;
    double weight;
};

int addColumn(glp_prob* problem, int type) {
    int column = glp_add_cols(problem, 1);
    glp_set_col_bnds(problem, column, type, 0.0, 0.0);
    return column;
}

void setRowBounds(glp_prob* problem, int row, Relation relation, double rhs) {
    switch (relation) {
    case Relation::Equal:
        glp_set_row_bnds(problem, row, GLP_FX, rhs, rhs);
        return;
    case Relation::LessOrEqual:
        glp_set_row_bnds(problem, row, GLP_UP, 0.0, rhs);
        return;
    case Relation::GreaterOrEqual:
        break;
    }
    glp_set_row_bnds(problem, row, GLP_LO, rhs, 0.0);
}

// One row per constraint over the variables' columns; a preference also gets its error columns:
// e - plus + minus == 0 for an equality, e - error <= 0 and e + error >= 0 for inequalities.
void addConstraint(glp_prob* problem, const ReferenceConstraint& constraint,
                   std::vector<ErrorColumn>& errors) {
    std::vector<int> columns{0};
    std::vector<double> values{0.0};
    // GLPK takes each column once: repeated variables are summed.
    for (const auto& [variable, coefficient] : constraint.terms) {
        auto column = std::find(columns.begin() + 1, columns.end(), variable + 1);
        if (column != columns.end()) {
            values[static_cast<std::size_t>(column - columns.begin())] += coefficient;
            continue;
        }
        columns.push_back(variable + 1);
        values.push_back(coefficient);
    }
    auto addError = [&](double sign) {
        int column = addColumn(problem, GLP_LO);
        columns.push_back(column);
        values.push_back(sign);
        errors.push_back(ErrorColumn{column, constraint.priority, constraint.weight});
    };
    if (!constraint.isRequired()) {
        if (constraint.relation == Relation::Equal) {
            addError(-1.0);
            addError(1.0);
        } else {
            addError(constraint.relation == Relation::LessOrEqual ? -1.0 : 1.0);
        }
    }
    int row = glp_add_rows(problem, 1);
    glp_set_mat_row(problem, row, static_cast<int>(columns.size()) - 1, columns.data(), values.data());
    setRowBounds(problem, row, constraint.relation, -constraint.constant);
}

// Pins every column and row with a non-zero reduced cost at the bound it sits on, which confines
// the following solves to the optimal face of this one.
void keepOptimalFace(glp_prob* problem) {
    for (int column = 1; column <= glp_get_num_cols(problem); ++column) {
        int status = glp_get_col_stat(problem, column);
        if (status == GLP_BS || status == GLP_NS ||
            std::fabs(glp_get_col_dual(problem, column)) <= kNonZeroReducedCost)
            continue;
        double bound = status == GLP_NU ? glp_get_col_ub(problem, column) : glp_get_col_lb(problem, column);
        glp_set_col_bnds(problem, column, GLP_FX, bound, bound);
    }
    for (int row = 1; row <= glp_get_num_rows(problem); ++row) {
        int status = glp_get_row_stat(problem, row);
        if (status == GLP_BS || status == GLP_NS ||
            std::fabs(glp_get_row_dual(problem, row)) <= kNonZeroReducedCost)
            continue;
        double bound = status == GLP_NU ? glp_get_row_ub(problem, row) : glp_get_row_lb(problem, row);
        glp_set_row_bnds(problem, row, GLP_FX, bound, bound);
    }
}

std::vector<float> levelsOf(const std::vector<ReferenceConstraint>& constraints) {
    std::vector<float> levels;
    for (const ReferenceConstraint& constraint : constraints) {
        if (!constraint.isRequired() && std::find(levels.begin(), levels.end(), constraint.priority) == levels.end())
            levels.push_back(constraint.priority);
    }
    std::sort(levels.begin(), levels.end(), std::greater<>());
    return levels;
}

} // namespace

std::optional<std::vector<LevelTotal>> LexicographicReference::solve(
    int variables, const std::vector<ReferenceConstraint>& constraints) {
    glp_term_out(GLP_OFF);
    Problem problem(glp_create_prob());
    glp_set_obj_dir(problem.get(), GLP_MIN);
    for (int variable = 0; variable < variables; ++variable)
        addColumn(problem.get(), GLP_FR);
    std::vector<ErrorColumn> errors;
    for (const ReferenceConstraint& constraint : constraints)
        addConstraint(problem.get(), constraint, errors);

    glp_smcp options;
    glp_init_smcp(&options);
    options.msg_lev = GLP_MSG_OFF;
    std::vector<LevelTotal> totals;
    std::vector<float> levels = levelsOf(constraints);
    // GLPK refuses a problem without rows; with nothing to satisfy every level's error is zero.
    if (glp_get_num_rows(problem.get()) == 0) {
        for (float level : levels)
            totals.push_back(LevelTotal{level, 0.0});
        return totals;
    }
    // With no preference at all the required constraints still have to be feasible.
    if (levels.empty())
        levels.push_back(0.0f);
    for (float level : levels) {
        for (const ErrorColumn& error : errors)
            glp_set_obj_coef(problem.get(), error.column, error.priority == level ? error.weight : 0.0);
        if (glp_simplex(problem.get(), &options) != 0 ||
            glp_get_status(problem.get()) != GLP_OPT)
            return std::nullopt;
        if (level != 0.0f)
            totals.push_back(LevelTotal{level, glp_get_obj_val(problem.get())});
        keepOptimalFace(problem.get());
    }
    return totals;
}

} // namespace layout_testing
