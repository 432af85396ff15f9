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
// integer coefficients, a variable possibly twice or with a zero coefficient) all hold at one
// hidden point; strong, medium and weak preferences of the same shape need not hold. Half the
// systems are wider: fractional coefficients, eight priority levels with weights, edits at other
// strengths, larger suggestions. The initial constraints go in in order or shuffled. A step
// removes any constraint (stays and requirements too); adds a new one, a removed one again, a twin
// of an active one or a requirement that may contradict the rest (the solver must refuse exactly
// those); makes a variable an edit variable (or edits it again) with one to three suggestions; or
// removes an edit variable.
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
    // The wider half of the systems (see above).
    bool m_wide = false;
};

} // namespace layout_testing
