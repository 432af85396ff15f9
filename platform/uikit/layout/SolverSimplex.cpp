// The tableau side of the solver: turning constraints into rows and back, and the simplex loops.
#include <limits>

#include "platform/uikit/layout/Solver.h"

namespace platform::layout {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// A better leaving row: a lower ratio, ties going to the newer basic symbol. Together with the
// objective's choice of the newest improving symbol that is Bland's rule (which rules out cycling)
// over the newest-first order; newest first also lets a fresh constraint's own error leave when
// layouts are degenerate, instead of some older symbol that many rows share.
bool improves(double ratio, Symbol basic, double bestRatio, Symbol bestBasic) {
    return ratio < bestRatio || (ratio == bestRatio && basic > bestBasic);
}

Symbol anyPivotableSymbol(const Row& row) {
    for (const Row::Cell& cell : row.cells()) {
        if (cell.symbol.isPivotable())
            return cell.symbol;
    }
    // Only dummies left: the row ties required equalities together, and one of them may stand
    // for the others.
    return row.empty() ? Symbol() : row.cells().front().symbol;
}

} // namespace

// ---- constraints to rows --------------------------------------------------------------------------

// The constraint as a row over the current parametric symbols, with basic variables replaced by
// their rows, and with its marker and error symbols added.
Row Solver::createRow(const Constraint& constraint, Tag& tag) {
    const Expression& expression = constraint.expression();
    // First the symbols, to size the row once: it gains whole rows for basic variables.
    m_termSymbols.clear();
    std::size_t cells = 2;
    for (const Term& term : expression.terms()) {
        Symbol symbol = Row::nearZero(term.coefficient()) ? Symbol() : acquireVariable(term.variable());
        m_termSymbols.push_back(symbol);
        std::uint32_t slot = m_tableau.rowOf(symbol);
        cells += slot == Tableau::kNoRow ? 1 : m_tableau.row(slot).cells().size();
    }
    Row row(expression.constant());
    row.reserve(cells);
    for (std::size_t i = 0; i < m_termSymbols.size(); ++i) {
        Symbol symbol = m_termSymbols[i];
        double coefficient = expression.terms()[i].coefficient();
        std::uint32_t slot = m_tableau.rowOf(symbol);
        if (slot != Tableau::kNoRow)
            row.insert(m_tableau.row(slot), coefficient);
        else if (symbol.isValid())
            row.insert(symbol, coefficient);
    }
    addMarkers(constraint, row, tag);
    if (row.constant() < 0.0)
        row.reverseSign();
    return row;
}

void Solver::addMarkers(const Constraint& constraint, Row& row, Tag& tag) {
    Strength strength = constraint.strength();
    bool required = strength.isRequired();
    std::uint32_t level = required ? Tableau::kNoRow : m_objective.acquire(strength.priority());
    auto addError = [&](double coefficient) {
        Symbol error = m_tableau.createSymbol(Symbol::Kind::Error);
        row.insert(error, coefficient);
        m_tableau.insertInto(level, error, strength.weight());
        return error;
    };
    if (constraint.relation() == Relation::Equal) {
        if (required) {
            tag.marker = m_tableau.createSymbol(Symbol::Kind::Dummy);
            row.insert(tag.marker, 1.0);
        } else {
            // expression = errorPlus - errorMinus
            tag.marker = addError(-1.0);
            tag.other = addError(1.0);
        }
        return;
    }
    // expression + slack == 0 for <=, expression - slack == 0 for >=
    double sign = constraint.relation() == Relation::LessOrEqual ? 1.0 : -1.0;
    tag.marker = m_tableau.createSymbol(Symbol::Kind::Slack);
    row.insert(tag.marker, sign);
    if (!required)
        tag.other = addError(-sign);
}

// An unrestricted symbol if there is one; otherwise one of the constraint's own slack or error
// symbols with a negative coefficient, which (being new) appears in no other row.
//
// Among unrestricted symbols, the one in the fewest rows (the newest on a tie): it costs the least
// to substitute, and it keeps widely used variables such as a container's width parametric
// instead of making every row that mentions them depend on one another.
Symbol Solver::chooseSubject(const Row& row, const Tag& tag) const {
    Symbol best;
    std::size_t bestUses = 0;
    for (const Row::Cell& cell : row.cells()) {
        if (!cell.symbol.isExternal())
            continue;
        std::size_t uses = m_tableau.columnSize(cell.symbol);
        if (!best.isValid() || uses <= bestUses) {
            best = cell.symbol;
            bestUses = uses;
        }
    }
    if (best.isValid())
        return best;
    for (Symbol own : {tag.marker, tag.other}) {
        if (own.isValid() && own.isPivotable() && row.coefficientFor(own) < 0.0)
            return own;
    }
    return Symbol();
}

Solver::Outcome Solver::place(Row row, const Tag& tag) {
    Symbol subject = chooseSubject(row, tag);
    if (!subject.isValid() && row.allDummies()) {
        // Only required equalities left: the constraint is redundant or contradicts them.
        if (!Row::nearZero(row.constant()))
            return Outcome::Unsatisfiable;
        subject = tag.marker;
    }
    if (!subject.isValid())
        return addWithArtificialVariable(std::move(row));
    row.solveFor(subject);
    std::uint32_t slot = m_tableau.addRow(std::move(row), subject);
    m_tableau.substitute(subject, slot, m_infeasible);
    return Outcome::Settled;
}

// Phase one for a row with no usable subject: make an artificial variable basic for it, drive the
// artificial variable to zero, and see whether it got there.
Solver::Outcome Solver::addWithArtificialVariable(Row row) {
    Symbol artificial = m_tableau.createSymbol(Symbol::Kind::Slack);
    m_tableau.addRow(row, artificial);
    std::uint32_t objective = m_tableau.addRow(std::move(row), Symbol());
    bool settled = optimizeArtificial(objective);
    bool satisfied = settled && Row::nearZero(m_tableau.row(objective).constant());
    m_tableau.dropRow(objective);

    std::uint32_t slot = m_tableau.rowOf(artificial);
    if (slot != Tableau::kNoRow) {
        Symbol entering = satisfied ? anyPivotableSymbol(m_tableau.row(slot)) : Symbol();
        if (entering.isValid())
            m_tableau.pivot(slot, entering, m_infeasible);
        else
            m_tableau.dropRow(slot);
    }
    m_tableau.releaseSymbol(artificial);
    if (!settled)
        return Outcome::Failed;
    return satisfied ? Outcome::Settled : Outcome::Unsatisfiable;
}

// Takes every trace of a constraint out of the tableau, whether or not its row made it in.
void Solver::retract(const Constraint& constraint, const Tag& tag) {
    // The objective must lose the errors before the marker is pivoted, or the substitution would
    // carry them into it again.
    removeErrorEffects(constraint, tag);
    detachMarker(tag.marker);
    for (Symbol own : {tag.marker, tag.other}) {
        if (own.isValid())
            m_tableau.releaseSymbol(own);
    }
    if (!constraint.isRequired())
        m_objective.release(constraint.strength().priority());
    for (const Term& term : constraint.expression().terms()) {
        if (!Row::nearZero(term.coefficient()))
            releaseVariable(term.variable());
    }
}

void Solver::removeErrorEffects(const Constraint& constraint, const Tag& tag) {
    if (constraint.isRequired())
        return;
    std::uint32_t level = m_objective.slotFor(constraint.strength().priority());
    double weight = constraint.strength().weight();
    for (Symbol own : {tag.marker, tag.other}) {
        if (!own.isValid() || own.kind() != Symbol::Kind::Error)
            continue;
        std::uint32_t slot = m_tableau.rowOf(own);
        if (slot != Tableau::kNoRow)
            m_tableau.insertInto(level, m_tableau.row(slot), -weight);
        else
            m_tableau.insertInto(level, own, -weight);
    }
}

// The marker's row is the constraint: make the marker basic if it is not, then drop its row.
void Solver::detachMarker(Symbol marker) {
    std::uint32_t slot = m_tableau.rowOf(marker);
    if (slot == Tableau::kNoRow) {
        slot = markerLeavingRow(marker);
        if (slot == Tableau::kNoRow)
            return;
        m_tableau.pivot(slot, marker, m_infeasible);
    }
    m_tableau.dropRow(slot);
}

// ---- choosing pivots ------------------------------------------------------------------------------

// The restricted row that first hits zero as `entering` grows, or kNoRow if none bounds it.
std::uint32_t Solver::leavingRowFor(Symbol entering) {
    std::uint32_t best = Tableau::kNoRow;
    Symbol bestBasic;
    double bestRatio = kInfinity;
    m_tableau.visitRowsWith(entering, [&](std::uint32_t slot, double coefficient) {
        Symbol basic = m_tableau.basicOf(slot);
        if (coefficient >= 0.0 || !basic.isValid() || basic.isExternal())
            return;
        double ratio = -m_tableau.row(slot).constant() / coefficient;
        if (improves(ratio, basic, bestRatio, bestBasic)) {
            best = slot;
            bestBasic = basic;
            bestRatio = ratio;
        }
    });
    return best;
}

// The row to pivot a constraint's marker into before dropping it, so the remaining rows stay
// feasible: preferably a restricted row where the marker has a negative coefficient (least
// ratio), then any restricted row (least ratio), then an unrestricted one.
//
// Before all of those comes a row whose basic symbol is a dummy: such a row ties required
// equalities that were redundant with one another, and when one of them goes, another must take
// over its role. Pivoting there keeps dummies at zero (a dummy row holds only dummies, so nothing
// moves); dropping another row instead would leave that dummy basic and free to stray from zero,
// silently releasing the equality it marks.
std::uint32_t Solver::markerLeavingRow(Symbol marker) {
    struct Choice {
        std::uint32_t slot = Tableau::kNoRow;
        Symbol basic;
        double ratio = kInfinity;
    } redundant, negative, positive, unrestricted;
    m_tableau.visitRowsWith(marker, [&](std::uint32_t slot, double coefficient) {
        Symbol basic = m_tableau.basicOf(slot);
        if (!basic.isValid())
            return;
        double constant = m_tableau.row(slot).constant();
        Choice& choice = basic.isDummy()      ? redundant
                         : basic.isExternal() ? unrestricted
                         : coefficient < 0.0  ? negative
                                              : positive;
        double ratio = basic.isExternal() || basic.isDummy() ? 0.0
                       : coefficient < 0.0                   ? -constant / coefficient
                                                             : constant / coefficient;
        if (choice.slot == Tableau::kNoRow || improves(ratio, basic, choice.ratio, choice.basic))
            choice = Choice{slot, basic, ratio};
    });
    for (const Choice& choice : {redundant, negative, positive, unrestricted}) {
        if (choice.slot != Tableau::kNoRow)
            return choice.slot;
    }
    return Tableau::kNoRow;
}

// ---- simplex loops --------------------------------------------------------------------------------

// Cycling is not expected, but a bound keeps a numerically confused tableau from hanging the caller.
std::size_t Solver::pivotLimit() const {
    return 1000 + 10 * m_tableau.liveRowCount();
}

bool Solver::optimize() {
    for (std::size_t step = 0, limit = pivotLimit(); step < limit; ++step) {
        Symbol entering = m_objective.enteringSymbol();
        if (!entering.isValid())
            return true;
        std::uint32_t slot = leavingRowFor(entering);
        if (slot == Tableau::kNoRow)
            return false;
        m_tableau.pivot(slot, entering, m_infeasible);
    }
    return false;
}

bool Solver::optimizeArtificial(std::uint32_t objective) {
    for (std::size_t step = 0, limit = pivotLimit(); step < limit; ++step) {
        Symbol entering;
        for (const Row::Cell& cell : m_tableau.row(objective).cells()) {
            if (cell.coefficient < 0.0 && !cell.symbol.isDummy()) {
                entering = cell.symbol;
                break;
            }
        }
        if (!entering.isValid())
            return true;
        std::uint32_t slot = leavingRowFor(entering);
        if (slot == Tableau::kNoRow)
            return false;
        m_tableau.pivot(slot, entering, m_infeasible);
    }
    return false;
}

// Restores feasibility after edits moved row constants, keeping the objective optimal.
bool Solver::dualOptimize() {
    std::size_t limit = pivotLimit();
    for (std::size_t step = 0; !m_infeasible.empty();) {
        Symbol leaving = m_infeasible.back();
        m_infeasible.pop_back();
        std::uint32_t slot = m_tableau.rowOf(leaving);
        if (slot == Tableau::kNoRow || leaving.isExternal())
            continue;
        double constant = m_tableau.row(slot).constant();
        if (constant >= 0.0 || Row::nearZero(constant))
            continue;
        Symbol entering = m_objective.dualEnteringSymbol(m_tableau.row(slot));
        if (!entering.isValid() || ++step > limit) {
            m_infeasible.clear();
            return false;
        }
        m_tableau.pivot(slot, entering, m_infeasible);
    }
    return true;
}

bool Solver::settle() {
    return optimize() && dualOptimize();
}

} // namespace platform::layout
