#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/uikit/layout/Constraint.h"
#include "platform/uikit/layout/FlatPointerMap.h"
#include "platform/uikit/layout/Objective.h"
#include "platform/uikit/layout/SolverResult.h"
#include "platform/uikit/layout/Tableau.h"
#include "platform/uikit/layout/Variable.h"

namespace platform::layout {

// An incremental Cassowary solver (Badros, Borning and Stuckey, 2001): constraints are added and
// removed one at a time, each change re-optimised from the current solution with the primal
// simplex, and edit variables take suggested values re-solved with the dual simplex.
//
// Nothing throws: every editing call reports a result, and any call that does not succeed leaves
// the solver as it was. Values reach the variables only on updateVariables(). Like the rest of
// UIKit, a solver and its variables belong to the main thread.
//
// Strengths are compared lexicographically (see Strength). Removing a required equality scans the
// rows once or twice, as other Cassowary solvers do on every removal; everything else touches only
// the rows that mention the symbols involved.
class Solver {
public:
    Solver() = default;
    Solver(const Solver&) = delete;
    Solver& operator=(const Solver&) = delete;

    AddResult addConstraint(const Constraint& constraint);
    // Removing a constraint restores the solution the solver had without it.
    RemoveResult removeConstraint(const Constraint& constraint);
    bool hasConstraint(const Constraint& constraint) const;
    // Including the constraints that edit variables add.
    std::size_t constraintCount() const { return m_constraintIndex.size(); }

    // An edit variable starts at its current solved value (adding it moves nothing); the strength
    // must be below required.
    EditResult addEditVariable(const Variable& variable, Strength strength);
    EditResult removeEditVariable(const Variable& variable);
    bool hasEditVariable(const Variable& variable) const;
    EditResult suggestValue(const Variable& variable, double value);

    // Writes the current solution into every variable the solver knows.
    void updateVariables();
    // Forgets every constraint, edit variable and variable.
    void reset();

private:
    static constexpr std::uint32_t kNone = 0xffffffffu;

    // The symbols a constraint added to the tableau: its marker (slack, first error or dummy) and,
    // for non-required constraints, its second error.
    struct Tag {
        Symbol marker;
        Symbol other;
    };
    struct ConstraintRecord {
        std::optional<Constraint> constraint;
        Tag tag;
    };
    struct VariableRecord {
        std::optional<Variable> variable;
        Symbol symbol;
        std::uint32_t uses = 0;
        std::uint32_t edit = kNone;
    };
    // A basic row that an edit's error symbol appears in.
    struct Dependent {
        std::uint32_t slot;
        Symbol basic;
        double coefficient;
    };
    struct EditRecord {
        std::uint32_t constraint = kNone;
        double constant = 0.0;
        // The rows to shift on a suggestion, valid while the tableau's version is unchanged:
        // repeated suggestions (a resize, a drag) then skip looking them up.
        std::vector<Dependent> dependents;
        std::uint64_t dependentsVersion = 0;
        bool dependentsValid = false;
    };
    enum class Outcome { Settled, Unsatisfiable, Failed };

    Row createRow(const Constraint& constraint, Tag& tag);
    void addMarkers(const Constraint& constraint, Row& row, Tag& tag);
    Symbol chooseSubject(const Row& row, const Tag& tag) const;
    Outcome place(Row row, const Tag& tag);
    Outcome addWithArtificialVariable(Row row);
    void retract(const Constraint& constraint, const Tag& tag);
    void removeErrorEffects(const Constraint& constraint, const Tag& tag);
    void detachMarker(Symbol marker);

    std::uint32_t leavingRowFor(Symbol entering);
    std::uint32_t markerLeavingRow(Symbol marker);
    bool optimize();
    bool optimizeArtificial(std::uint32_t objective);
    bool dualOptimize();
    bool settle();
    std::size_t pivotLimit() const;
    void applyEdit(EditRecord& record, double delta);
    const std::vector<Dependent>& dependentsOf(EditRecord& record);

    double currentValue(const Variable& variable) const;
    Symbol acquireVariable(const Variable& variable);
    void releaseVariable(const Variable& variable);
    std::uint32_t findEdit(const Variable& variable) const;
    void recordConstraint(const Constraint& constraint, const Tag& tag);
    void forgetConstraint(std::uint32_t record);

    std::vector<Symbol> m_termSymbols;
    Tableau m_tableau;
    Objective m_objective{m_tableau};
    std::vector<Symbol> m_infeasible;

    FlatPointerMap m_constraintIndex;
    std::vector<ConstraintRecord> m_constraints;
    std::vector<std::uint32_t> m_freeConstraints;
    FlatPointerMap m_variableIndex;
    std::vector<VariableRecord> m_variables;
    std::vector<std::uint32_t> m_freeVariables;
    std::vector<EditRecord> m_edits;
    std::vector<std::uint32_t> m_freeEdits;
};

} // namespace platform::layout
