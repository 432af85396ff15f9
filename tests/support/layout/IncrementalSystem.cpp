#include "tests/support/layout/IncrementalSystem.h"

#include <algorithm>
#include <cmath>

#include "tests/support/layout/LexicographicReference.h"

namespace layout_testing {

using namespace platform::layout;

namespace {

constexpr double kRelativeTolerance = 1e-7;

bool near(double a, double b) {
    return std::fabs(a - b) <= kRelativeTolerance * std::max({1.0, std::fabs(a), std::fabs(b)});
}

float priorityFor(int level) {
    static const float priorities[] = {Strength::strong().priority(), Strength::medium().priority(),
                                       Strength::weak().priority()};
    return priorities[level];
}

std::string describe(const ReferenceConstraint& model) {
    std::string text;
    for (const auto& [variable, coefficient] : model.terms)
        text += (text.empty() ? "" : " + ") + std::to_string(coefficient) + "*v" + std::to_string(variable);
    text += " + " + std::to_string(model.constant);
    text += model.relation == Relation::Equal ? " == 0" : model.relation == Relation::LessOrEqual ? " <= 0" : " >= 0";
    return text + " @" + std::to_string(static_cast<int>(model.priority));
}

} // namespace

IncrementalSystem::IncrementalSystem(Choices& choices) : m_choices(choices) {
    int count = m_choices.pick(3, 16);
    for (int i = 0; i < count; ++i) {
        m_variables.emplace_back("v" + std::to_string(i));
        m_hidden.push_back(m_choices.pick(-20, 20));
    }
    m_wide = m_choices.pick(0, 1) == 1;
    std::vector<Active> initial;
    for (int i = 0; i < count; ++i) {
        ReferenceConstraint stay{{{i, 1.0}}, -static_cast<double>(m_choices.pick(-100, 100)), Relation::Equal,
                                 Strength::weak().priority(), 1.0};
        initial.push_back(makeActive(stay));
    }
    for (int i = m_choices.pick(0, 2 * count); i > 0; --i)
        initial.push_back(randomConstraint(true));
    for (int i = m_choices.pick(0, 2 * count); i > 0; --i)
        initial.push_back(randomConstraint(false));
    bool shuffled = m_choices.pick(0, 1) == 1;
    while (!initial.empty()) {
        auto at = shuffled ? static_cast<std::size_t>(m_choices.pick(0, static_cast<int>(initial.size()) - 1)) : 0;
        add(initial[at]);
        initial.erase(initial.begin() + static_cast<std::ptrdiff_t>(at));
    }
}

IncrementalSystem::Active IncrementalSystem::randomConstraint(bool required) {
    ReferenceConstraint model;
    double atHidden = 0.0;
    for (int terms = m_choices.pick(1, 3); terms > 0; --terms) {
        // Variables may repeat and coefficients may be zero: both cancel inside the solver's rows.
        int variable = m_choices.pick(0, variableCount() - 1);
        double coefficient = m_choices.pick(-3, 3);
        if (m_wide)
            coefficient /= m_choices.pick(1, 3);
        model.terms.emplace_back(variable, coefficient);
        atHidden += coefficient * m_hidden[static_cast<std::size_t>(variable)];
    }
    int relation = m_choices.pick(0, 2);
    model.relation = relation == 0 ? Relation::Equal : relation == 1 ? Relation::LessOrEqual : Relation::GreaterOrEqual;
    if (required) {
        // Holds at the hidden point: exactly for an equality, with some room for an inequality.
        double room = model.relation == Relation::Equal ? 0.0 : m_choices.pick(0, 10);
        model.constant = -atHidden + (model.relation == Relation::LessOrEqual ? -room : room);
    } else {
        model.constant = -atHidden + m_choices.pick(-30, 30);
        model.priority = priorityFor(m_choices.pick(0, 2));
        if (m_wide) {
            static const float priorities[] = {999, 900, 750, 500, 251, 250, 100, 1};
            model.priority = priorities[m_choices.pick(0, 7)];
            model.weight = m_choices.pick(1, 4) / 2.0;
        }
    }
    return makeActive(std::move(model));
}

IncrementalSystem::Active IncrementalSystem::makeActive(ReferenceConstraint model) {
    Expression expression(model.constant);
    for (const auto& [variable, coefficient] : model.terms)
        expression += coefficient * Expression(m_variables[static_cast<std::size_t>(variable)]);
    Strength strength = Strength::fromPriority(model.priority).withWeight(model.weight);
    Constraint constraint(expression, model.relation, strength);
    return Active{constraint, std::move(model)};
}

// A required constraint may be refused, but only when it contradicts the others; the solver must
// then carry on as if it had never been offered.
void IncrementalSystem::add(Active active) {
    note("add " + describe(active.model));
    AddResult result = m_solver.addConstraint(active.constraint);
    if (result == AddResult::Unsatisfiable && active.model.isRequired()) {
        std::vector<ReferenceConstraint> offered = models();
        offered.push_back(active.model);
        if (!LexicographicReference::solve(variableCount(), offered)) {
            note("  (refused)");
            return;
        }
    }
    if (result != AddResult::Added && !m_failure)
        m_failure = std::string("adding a constraint: ") + platform::layout::describe(result);
    m_constraints.push_back(std::move(active));
}

void IncrementalSystem::step() {
    switch (m_choices.pick(0, 3)) {
    case 0:
        removeRandomConstraint();
        return;
    case 1:
        addSomeConstraint();
        return;
    case 2:
        addRandomEdit();
        return;
    default:
        removeRandomEdit();
    }
}

// A new constraint, a removed one back again, or a twin of an active one (same terms, a distinct
// constraint).
void IncrementalSystem::addSomeConstraint() {
    int kind = m_choices.pick(0, 4);
    if (kind == 0 && !m_removed.empty()) {
        auto at = static_cast<std::size_t>(m_choices.pick(0, static_cast<int>(m_removed.size()) - 1));
        Active again = m_removed[at];
        m_removed.erase(m_removed.begin() + static_cast<std::ptrdiff_t>(at));
        add(std::move(again));
        return;
    }
    if (kind == 1 && !m_constraints.empty()) {
        auto at = static_cast<std::size_t>(m_choices.pick(0, static_cast<int>(m_constraints.size()) - 1));
        add(makeActive(m_constraints[at].model));
        return;
    }
    if (kind == 2) {
        addAnyRequirement();
        return;
    }
    add(randomConstraint(m_choices.pick(0, 1) == 0));
}

// A required constraint that need not hold at the hidden point.
void IncrementalSystem::addAnyRequirement() {
    ReferenceConstraint model = randomConstraint(true).model;
    model.constant += m_choices.pick(-20, 20);
    add(makeActive(std::move(model)));
}

void IncrementalSystem::removeRandomConstraint() {
    if (m_constraints.empty())
        return;
    auto victim = static_cast<std::size_t>(m_choices.pick(0, static_cast<int>(m_constraints.size()) - 1));
    note("remove " + describe(m_constraints[victim].model));
    RemoveResult result = m_solver.removeConstraint(m_constraints[victim].constraint);
    if (result != RemoveResult::Removed && !m_failure)
        m_failure = std::string("removing a constraint: ") + platform::layout::describe(result);
    m_removed.push_back(m_constraints[victim]);
    m_constraints.erase(m_constraints.begin() + static_cast<std::ptrdiff_t>(victim));
}

// A variable that is already being edited gets another suggestion.
void IncrementalSystem::addRandomEdit() {
    int variable = m_choices.pick(0, variableCount() - 1);
    const Variable& handle = m_variables[static_cast<std::size_t>(variable)];
    auto edit = std::find_if(m_edits.begin(), m_edits.end(), [&](const Edit& e) { return e.variable == variable; });
    if (edit == m_edits.end()) {
        note("edit v" + std::to_string(variable));
        Strength strength = m_wide ? Strength::fromPriority(m_choices.pick(0, 1) ? 999.0f : 500.0f) : Strength::strong();
        if (m_solver.addEditVariable(handle, strength) != EditResult::Done && !m_failure)
            m_failure = "adding an edit variable";
        m_edits.push_back(Edit{variable, currentValueOf(variable), strength.priority()});
        edit = m_edits.end() - 1;
    }
    for (int suggestions = m_choices.pick(1, 3); suggestions > 0; --suggestions) {
        double suggestion = m_choices.pick(-100, 100) * (m_wide ? 10 : 1);
        note("suggest v" + std::to_string(variable) + " = " + std::to_string(suggestion));
        if (m_solver.suggestValue(handle, suggestion) != EditResult::Done && !m_failure)
            m_failure = "suggesting a value";
        edit->suggestion = suggestion;
    }
}

void IncrementalSystem::removeRandomEdit() {
    if (m_edits.empty())
        return;
    auto victim = static_cast<std::size_t>(m_choices.pick(0, static_cast<int>(m_edits.size()) - 1));
    note("remove edit v" + std::to_string(m_edits[victim].variable));
    const Variable& handle = m_variables[static_cast<std::size_t>(m_edits[victim].variable)];
    if (m_solver.removeEditVariable(handle) != EditResult::Done && !m_failure)
        m_failure = "removing an edit variable";
    m_edits.erase(m_edits.begin() + static_cast<std::ptrdiff_t>(victim));
}

std::vector<ReferenceConstraint> IncrementalSystem::models() const {
    std::vector<ReferenceConstraint> models;
    for (const Active& active : m_constraints)
        models.push_back(active.model);
    for (const Edit& edit : m_edits)
        models.push_back(ReferenceConstraint{{{edit.variable, 1.0}}, -edit.suggestion, Relation::Equal,
                                             edit.priority, 1.0});
    return models;
}

double IncrementalSystem::currentValueOf(int variable) {
    m_solver.updateVariables();
    return m_variables[static_cast<std::size_t>(variable)].value();
}

std::vector<double> IncrementalSystem::solvedValues() {
    m_solver.updateVariables();
    std::vector<double> values;
    for (const Variable& variable : m_variables)
        values.push_back(variable.value());
    return values;
}

std::optional<std::string> IncrementalSystem::violatedRequirement(const std::vector<double>& values) const {
    for (const Active& active : m_constraints) {
        if (!active.model.isRequired())
            continue;
        double error = active.model.errorAt(values);
        if (error > 1e-6 * (1.0 + std::fabs(active.model.constant)))
            return "required constraint off by " + std::to_string(error) + ": " + describe(active.model);
    }
    return std::nullopt;
}

std::optional<std::string> IncrementalSystem::worseLevel(const std::vector<double>& values) {
    std::optional<std::vector<LevelTotal>> optimum = LexicographicReference::solve(variableCount(), models());
    if (!optimum)
        return "the reference found no solution";
    std::vector<ReferenceConstraint> all = models();
    for (const LevelTotal& level : *optimum) {
        double total = 0.0;
        for (const ReferenceConstraint& model : all) {
            if (model.priority == level.priority)
                total += model.errorAt(values);
        }
        if (!near(total, level.total))
            return "total error at priority " + std::to_string(static_cast<int>(level.priority)) + " is " +
                   std::to_string(total) + ", the optimum " + std::to_string(level.total);
    }
    return std::nullopt;
}

std::optional<std::string> IncrementalSystem::mismatch() {
    std::optional<std::string> found = m_failure;
    std::vector<double> values = solvedValues();
    if (!found)
        found = violatedRequirement(values);
    if (!found)
        found = worseLevel(values);
    if (found)
        return *found + "\nafter:\n" + m_history;
    return std::nullopt;
}

void IncrementalSystem::note(const std::string& change) {
    m_history += "  " + change + "\n";
}

} // namespace layout_testing
