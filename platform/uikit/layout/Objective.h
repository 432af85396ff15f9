#pragma once

#include <cstdint>
#include <vector>

#include "platform/uikit/layout/Row.h"
#include "platform/uikit/layout/Tableau.h"

namespace platform::layout {

// The lexicographic objective: one tableau row per priority level in use, highest first. A symbol's
// reduced cost is the vector of its coefficients in those rows, compared level by level, so no
// amount of error at one level can outweigh any error at a higher one.
//
// Rather than scanning every objective row for a negative cost on each simplex step, it keeps the
// symbols whose cost may have turned negative (the tableau reports them when a watched row's cell
// drops to zero or below), and checks only those.
class Objective {
public:
    explicit Objective(Tableau& tableau) : m_tableau(tableau) {}

    // The level's row, created on first use; each acquire needs a matching release.
    std::uint32_t acquire(float priority);
    void release(float priority);
    std::uint32_t slotFor(float priority) const;

    // A nonbasic symbol whose reduced cost is lexicographically negative (the newest such: see the
    // solver's pivot rules), or an invalid symbol when the objective is optimal.
    Symbol enteringSymbol();
    // For the dual simplex: among the row's positive cells, the symbol with the least
    // lexicographic ratio cost / coefficient.
    Symbol dualEnteringSymbol(const Row& row);

    void clear();

private:
    struct Level {
        float priority;
        std::uint32_t slot;
        std::uint32_t users;
    };

    void collectTouched();
    bool isCandidate(Symbol symbol) const;
    bool isLexicographicallyNegative(Symbol symbol) const;
    void costs(Symbol symbol, double divisor, std::vector<double>& out) const;

    Tableau& m_tableau;
    std::vector<Level> m_levels;
    std::vector<Symbol> m_candidates;
    // Per symbol index: the raw symbol queued as a candidate, so each is queued once.
    std::vector<std::uint32_t> m_queued;
    std::vector<double> m_ratio;
    std::vector<double> m_bestRatio;
};

} // namespace platform::layout
