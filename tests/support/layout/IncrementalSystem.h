#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/uikit/layout/Solver.h"
#include "tests/support/layout/Choices.h"
#include "tests/support/layout/ReferenceConstraint.h"

namespace layout_testing {

// A random layout system fed to the incremental solver one change at a time, and checked after
// each change against the exact lexicographic optimum of the same system.
//
// Every variable has a weak stay; the required constraints (over one to three variables, small
// integer coefficients) all hold at one hidden point, so they are always satisfiable; strong,
// medium and weak preferences of the same shape need not hold. A step removes a constraint, adds
// one, makes a variable a strong edit variable and suggests a value, or removes an edit variable.
class IncrementalSystem {
public:
    explicit IncrementalSystem(Choices& choices);

    void step();
    // Nothing when the solver keeps every required constraint and has the optimal total error at
    // every level; otherwise what differs, followed by the changes made so far.
    std::optional<std::string> mismatch();

    int variableCount() const { return static_cast<int>(m_variables.size()); }

private:
    struct Active {
        platform::layout::Constraint constraint;
        ReferenceConstraint model;
    };
    struct Edit {
        int variable;
        double suggestion;
        float priority;
    };

    Active randomConstraint(bool required);
    Active makeActive(ReferenceConstraint model);
    void add(Active active);
    void addSomeConstraint();
    void addAnyRequirement();
    void removeRandomConstraint();
    void addRandomEdit();
    void removeRandomEdit();
    std::vector<ReferenceConstraint> models() const;
    double currentValueOf(int variable);
    std::vector<double> solvedValues();
    std::optional<std::string> violatedRequirement(const std::vector<double>& values) const;
    std::optional<std::string> worseLevel(const std::vector<double>& values);
    void note(const std::string& change);

    Choices& m_choices;
    platform::layout::Solver m_solver;
    std::vector<platform::layout::Variable> m_variables;
    std::vector<double> m_hidden;
    std::vector<Active> m_constraints;
    std::vector<Active> m_removed;
    std::vector<Edit> m_edits;
    std::string m_history;
    std::optional<std::string> m_failure;
    bool m_wide = false;
};

} // namespace layout_testing
