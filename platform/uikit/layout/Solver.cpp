#include "platform/uikit/layout/Solver.h"

#include <algorithm>
#include <cmath>

namespace platform::layout {

// ---- constraints ----------------------------------------------------------------------------------

namespace {

// A NaN or infinity would spread through every row it touched and never leave.
bool isFinite(const Expression& expression) {
    return std::isfinite(expression.constant()) &&
           std::all_of(expression.terms().begin(), expression.terms().end(),
                       [](const Term& term) { return std::isfinite(term.coefficient()); });
}

} // namespace

AddResult Solver::addConstraint(const Constraint& constraint) {
    if (m_constraintIndex.find(constraint.identity()) != FlatPointerMap::kMissing)
        return AddResult::Duplicate;
    if (!isFinite(constraint.expression()))
        return AddResult::Failed;
    Tag tag;
    Outcome outcome = place(createRow(constraint, tag), tag);
    if (outcome != Outcome::Settled) {
        retract(constraint, tag);
        // Looking for a feasible point may have moved the solution off the optimum.
        settle();
        return outcome == Outcome::Unsatisfiable ? AddResult::Unsatisfiable : AddResult::Failed;
    }
    recordConstraint(constraint, tag);
    if (!settle()) {
        removeConstraint(constraint);
        return AddResult::Failed;
    }
    return AddResult::Added;
}

RemoveResult Solver::removeConstraint(const Constraint& constraint) {
    std::uint32_t record = m_constraintIndex.find(constraint.identity());
    if (record == FlatPointerMap::kMissing)
        return RemoveResult::Unknown;
    Tag tag = m_constraints[record].tag;
    forgetConstraint(record);
    retract(constraint, tag);
    return settle() ? RemoveResult::Removed : RemoveResult::Failed;
}

bool Solver::hasConstraint(const Constraint& constraint) const {
    return m_constraintIndex.find(constraint.identity()) != FlatPointerMap::kMissing;
}

void Solver::recordConstraint(const Constraint& constraint, const Tag& tag) {
    std::uint32_t record;
    if (!m_freeConstraints.empty()) {
        record = m_freeConstraints.back();
        m_freeConstraints.pop_back();
        m_constraints[record] = ConstraintRecord{constraint, tag};
    } else {
        record = static_cast<std::uint32_t>(m_constraints.size());
        m_constraints.push_back(ConstraintRecord{constraint, tag});
    }
    m_constraintIndex.insert(constraint.identity(), record);
}

void Solver::forgetConstraint(std::uint32_t record) {
    m_constraintIndex.erase(m_constraints[record].constraint->identity());
    m_constraints[record] = ConstraintRecord{};
    m_freeConstraints.push_back(record);
}

// ---- edit variables -------------------------------------------------------------------------------

EditResult Solver::addEditVariable(const Variable& variable, Strength strength) {
    if (strength.isRequired())
        return EditResult::RequiredStrength;
    if (findEdit(variable) != kNone)
        return EditResult::Duplicate;
    // The edit starts at the variable's current solved value, as in the original Cassowary: adding
    // it moves nothing, and the first suggestion does the work.
    double current = currentValue(variable);
    Constraint constraint(Expression(variable) - current, Relation::Equal, strength);
    if (addConstraint(constraint) != AddResult::Added)
        return EditResult::Failed;
    std::uint32_t edit;
    if (!m_freeEdits.empty()) {
        edit = m_freeEdits.back();
        m_freeEdits.pop_back();
    } else {
        edit = static_cast<std::uint32_t>(m_edits.size());
        m_edits.emplace_back();
    }
    m_edits[edit] = EditRecord{};
    m_edits[edit].constraint = m_constraintIndex.find(constraint.identity());
    m_edits[edit].constant = current;
    m_variables[m_variableIndex.find(variable.identity())].edit = edit;
    return EditResult::Done;
}

EditResult Solver::removeEditVariable(const Variable& variable) {
    std::uint32_t edit = findEdit(variable);
    if (edit == kNone)
        return EditResult::Unknown;
    Constraint constraint = *m_constraints[m_edits[edit].constraint].constraint;
    m_variables[m_variableIndex.find(variable.identity())].edit = kNone;
    m_edits[edit] = EditRecord{};
    m_freeEdits.push_back(edit);
    return removeConstraint(constraint) == RemoveResult::Removed ? EditResult::Done : EditResult::Failed;
}

bool Solver::hasEditVariable(const Variable& variable) const {
    return findEdit(variable) != kNone;
}

std::uint32_t Solver::findEdit(const Variable& variable) const {
    std::uint32_t record = m_variableIndex.find(variable.identity());
    return record == FlatPointerMap::kMissing ? kNone : m_variables[record].edit;
}

EditResult Solver::suggestValue(const Variable& variable, double value) {
    std::uint32_t edit = findEdit(variable);
    if (edit == kNone)
        return EditResult::Unknown;
    if (!std::isfinite(value))
        return EditResult::Failed;
    EditRecord& record = m_edits[edit];
    double delta = value - record.constant;
    record.constant = value;
    if (delta != 0.0)
        applyEdit(record, delta);
    return dualOptimize() ? EditResult::Done : EditResult::Failed;
}

// The edit constraint `variable == value` moved by delta: shift the constants of the rows that
// depend on its errors, noting the restricted rows that went negative for the dual simplex.
void Solver::applyEdit(EditRecord& record, double delta) {
    const Tag& tag = m_constraints[record.constraint].tag;
    if (std::uint32_t slot = m_tableau.rowOf(tag.marker); slot != Tableau::kNoRow) {
        if (m_tableau.row(slot).add(-delta) < 0.0)
            m_infeasible.push_back(tag.marker);
        return;
    }
    if (std::uint32_t slot = m_tableau.rowOf(tag.other); slot != Tableau::kNoRow) {
        if (m_tableau.row(slot).add(delta) < 0.0)
            m_infeasible.push_back(tag.other);
        return;
    }
    for (const Dependent& dependent : dependentsOf(record)) {
        if (m_tableau.row(dependent.slot).add(delta * dependent.coefficient) < 0.0 &&
            !dependent.basic.isExternal())
            m_infeasible.push_back(dependent.basic);
    }
}

const std::vector<Solver::Dependent>& Solver::dependentsOf(EditRecord& record) {
    if (record.dependentsValid && record.dependentsVersion == m_tableau.version())
        return record.dependents;
    record.dependents.clear();
    Symbol marker = m_constraints[record.constraint].tag.marker;
    m_tableau.visitRowsWith(marker, [&](std::uint32_t slot, double coefficient) {
        Symbol basic = m_tableau.basicOf(slot);
        if (basic.isValid())
            record.dependents.push_back(Dependent{slot, basic, coefficient});
    });
    record.dependentsVersion = m_tableau.version();
    record.dependentsValid = true;
    return record.dependents;
}

// ---- variables ------------------------------------------------------------------------------------

void Solver::updateVariables() {
    for (VariableRecord& record : m_variables) {
        if (!record.variable)
            continue;
        std::uint32_t slot = m_tableau.rowOf(record.symbol);
        record.variable->setValue(slot == Tableau::kNoRow ? 0.0 : m_tableau.row(slot).constant());
    }
}

double Solver::currentValue(const Variable& variable) const {
    std::uint32_t record = m_variableIndex.find(variable.identity());
    if (record == FlatPointerMap::kMissing)
        return 0.0;
    std::uint32_t slot = m_tableau.rowOf(m_variables[record].symbol);
    return slot == Tableau::kNoRow ? 0.0 : m_tableau.row(slot).constant();
}

Symbol Solver::acquireVariable(const Variable& variable) {
    std::uint32_t record = m_variableIndex.find(variable.identity());
    if (record == FlatPointerMap::kMissing) {
        if (!m_freeVariables.empty()) {
            record = m_freeVariables.back();
            m_freeVariables.pop_back();
        } else {
            record = static_cast<std::uint32_t>(m_variables.size());
            m_variables.emplace_back();
        }
        m_variables[record] =
            VariableRecord{variable, m_tableau.createSymbol(Symbol::Kind::External), 0, kNone};
        m_variableIndex.insert(variable.identity(), record);
    }
    ++m_variables[record].uses;
    return m_variables[record].symbol;
}

// Once no constraint mentions a variable its symbol has cancelled out of every row.
void Solver::releaseVariable(const Variable& variable) {
    std::uint32_t record = m_variableIndex.find(variable.identity());
    if (record == FlatPointerMap::kMissing || --m_variables[record].uses > 0)
        return;
    m_tableau.releaseSymbol(m_variables[record].symbol);
    m_variableIndex.erase(variable.identity());
    m_variables[record] = VariableRecord{};
    m_freeVariables.push_back(record);
}

void Solver::reset() {
    m_tableau.clear();
    m_objective.clear();
    m_infeasible.clear();
    m_constraintIndex.clear();
    m_constraints.clear();
    m_freeConstraints.clear();
    m_variableIndex.clear();
    m_variables.clear();
    m_freeVariables.clear();
    m_edits.clear();
    m_freeEdits.clear();
}

} // namespace platform::layout
