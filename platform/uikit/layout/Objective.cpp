#include "platform/uikit/layout/Objective.h"

#include <algorithm>
#include <cmath>

namespace platform::layout {

namespace {

constexpr std::uint32_t kNotQueued = 0xffffffffu;

// Level by level, with a tolerance: two costs that differ only by rounding are a tie, left for
// the lower levels to break. Compared exactly, rounding at a high level would overrule them.
bool lexicographicallyLess(const std::vector<double>& a, const std::vector<double>& b) {
    for (std::size_t level = 0; level < a.size(); ++level) {
        double scale = 1.0 + std::max(std::fabs(a[level]), std::fabs(b[level]));
        if (std::fabs(a[level] - b[level]) > 1.0e-9 * scale)
            return a[level] < b[level];
    }
    return false;
}

} // namespace

std::uint32_t Objective::acquire(float priority) {
    auto it = m_levels.begin();
    while (it != m_levels.end() && it->priority > priority)
        ++it;
    if (it != m_levels.end() && it->priority == priority) {
        ++it->users;
        return it->slot;
    }
    std::uint32_t slot = m_tableau.addRow(Row(), Symbol());
    m_tableau.watch(slot);
    m_levels.insert(it, Level{priority, slot, 1});
    return slot;
}

void Objective::release(float priority) {
    for (auto it = m_levels.begin(); it != m_levels.end(); ++it) {
        if (it->priority != priority)
            continue;
        // With its last constraint gone the level's row is zero but for rounding residue; the
        // symbols in it are requeued, as dropping a level can unmask a cost below it.
        if (--it->users == 0) {
            for (const Row::Cell& cell : m_tableau.row(it->slot).cells())
                m_tableau.touched().push_back(cell.symbol);
            m_tableau.dropRow(it->slot);
            m_levels.erase(it);
        }
        return;
    }
}

std::uint32_t Objective::slotFor(float priority) const {
    for (const Level& level : m_levels) {
        if (level.priority == priority)
            return level.slot;
    }
    return Tableau::kNoRow;
}

void Objective::collectTouched() {
    for (Symbol symbol : m_tableau.touched()) {
        if (symbol.index() >= m_queued.size())
            m_queued.resize(symbol.index() + 1, kNotQueued);
        if (m_queued[symbol.index()] == symbol.raw())
            continue;
        m_queued[symbol.index()] = symbol.raw();
        m_candidates.push_back(symbol);
    }
    m_tableau.touched().clear();
}

bool Objective::isCandidate(Symbol symbol) const {
    return !symbol.isDummy() && m_tableau.rowOf(symbol) == Tableau::kNoRow &&
           isLexicographicallyNegative(symbol);
}

Symbol Objective::enteringSymbol() {
    collectTouched();
    Symbol best;
    std::size_t kept = 0;
    for (Symbol symbol : m_candidates) {
        // A recycled index may have been queued again under its new symbol.
        if (m_queued[symbol.index()] != symbol.raw())
            continue;
        if (!isCandidate(symbol)) {
            m_queued[symbol.index()] = kNotQueued;
            continue;
        }
        m_candidates[kept++] = symbol;
        if (!best.isValid() || symbol > best)
            best = symbol;
    }
    m_candidates.resize(kept);
    return best;
}

bool Objective::isLexicographicallyNegative(Symbol symbol) const {
    for (const Level& level : m_levels) {
        double cost = m_tableau.row(level.slot).coefficientFor(symbol);
        if (cost != 0.0)
            return cost < 0.0;
    }
    return false;
}

void Objective::costs(Symbol symbol, double divisor, std::vector<double>& out) const {
    out.resize(m_levels.size());
    for (std::size_t level = 0; level < m_levels.size(); ++level)
        out[level] = m_tableau.row(m_levels[level].slot).coefficientFor(symbol) / divisor;
}

Symbol Objective::dualEnteringSymbol(const Row& row) {
    Symbol best;
    for (const Row::Cell& cell : row.cells()) {
        if (cell.coefficient <= 0.0 || cell.symbol.isDummy())
            continue;
        costs(cell.symbol, cell.coefficient, m_ratio);
        if (!best.isValid() || lexicographicallyLess(m_ratio, m_bestRatio)) {
            best = cell.symbol;
            m_bestRatio.swap(m_ratio);
        }
    }
    return best;
}

void Objective::clear() {
    m_levels.clear();
    m_candidates.clear();
    m_queued.clear();
}

} // namespace platform::layout
