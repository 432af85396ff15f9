#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "platform/uikit/layout/Symbol.h"

namespace platform::layout {

// One row of the tableau: constant + sum(coefficient * symbol), with the cells kept sorted by
// symbol in a flat vector (rows are short, and sorted cells make merging two rows linear).
//
// The editing calls take an observer `(Symbol, double newCoefficient, bool added)` that hears of
// every cell they touch (a cancelled cell reports 0): the tableau keeps its column index and the
// objective its entering candidates from it.
class Row {
public:
    struct Cell {
        Symbol symbol;
        double coefficient;
    };

    explicit Row(double constant = 0.0) : m_constant(constant) {}

    static bool nearZero(double value) { return std::fabs(value) < 1.0e-8; }

    double constant() const { return m_constant; }
    const std::vector<Cell>& cells() const { return m_cells; }
    bool empty() const { return m_cells.empty(); }
    double coefficientFor(Symbol symbol) const;
    bool contains(Symbol symbol) const { return coefficientFor(symbol) != 0.0; }
    // True when every symbol left in the row marks a required equality.
    bool allDummies() const;

    double add(double delta) { return m_constant += delta; }
    void reserve(std::size_t cells) { m_cells.reserve(cells); }
    void reverseSign();
    bool remove(Symbol symbol);
    void clear();

    template <class Observer> void insert(Symbol symbol, double coefficient, Observer&& observe);
    // Adds coefficient * other (constant included). `other` must not be this row.
    template <class Observer> void insert(const Row& other, double coefficient, Observer&& observe);
    // Replaces `symbol` by the row that defines it; false when the symbol is not in this row.
    template <class Observer> bool substitute(Symbol symbol, const Row& definition, Observer&& observe);

    void insert(Symbol symbol, double coefficient) { insert(symbol, coefficient, ignore); }
    void insert(const Row& other, double coefficient) { insert(other, coefficient, ignore); }

    // Rewrites `0 = row` as `symbol = row'`; the symbol leaves the cells.
    void solveFor(Symbol symbol);
    // Rewrites `lhs = row` (lhs being the current basic symbol) as `rhs = row'`.
    template <class Observer> void solveFor(Symbol lhs, Symbol rhs, Observer&& observe) {
        insert(lhs, -1.0, observe);
        solveFor(rhs);
    }

private:
    static constexpr auto ignore = [](Symbol, double, bool) {};

    std::vector<Cell>::iterator lowerBound(Symbol symbol) {
        return std::lower_bound(m_cells.begin(), m_cells.end(), symbol,
                                [](const Cell& cell, Symbol s) { return cell.symbol < s; });
    }
    template <class Observer> void merge(const Row& other, double coefficient, Observer&& observe);

    std::vector<Cell> m_cells;
    double m_constant;
};

template <class Observer> void Row::insert(Symbol symbol, double coefficient, Observer&& observe) {
    auto it = lowerBound(symbol);
    if (it != m_cells.end() && it->symbol == symbol) {
        double updated = it->coefficient + coefficient;
        if (nearZero(updated)) {
            m_cells.erase(it);
            observe(symbol, 0.0, false);
        } else {
            it->coefficient = updated;
            observe(symbol, updated, false);
        }
    } else if (!nearZero(coefficient)) {
        m_cells.insert(it, Cell{symbol, coefficient});
        observe(symbol, coefficient, true);
    }
}

template <class Observer> void Row::insert(const Row& other, double coefficient, Observer&& observe) {
    m_constant += other.m_constant * coefficient;
    // A few cells into a long row (the objective) go in one by one; otherwise merge.
    if (other.m_cells.size() * 8 <= m_cells.size()) {
        for (const Cell& cell : other.m_cells)
            insert(cell.symbol, cell.coefficient * coefficient, observe);
    } else {
        merge(other, coefficient, observe);
    }
}

// Merges from the back into the grown vector, so no scratch storage is needed; cells that cancel
// leave a gap in front of the merged tail, closed at the end.
template <class Observer> void Row::merge(const Row& other, double coefficient, Observer&& observe) {
    const std::vector<Cell>& incoming = other.m_cells;
    std::ptrdiff_t own = static_cast<std::ptrdiff_t>(m_cells.size()) - 1;
    std::ptrdiff_t next = static_cast<std::ptrdiff_t>(incoming.size()) - 1;
    m_cells.resize(m_cells.size() + incoming.size());
    std::ptrdiff_t write = static_cast<std::ptrdiff_t>(m_cells.size());
    while (next >= 0) {
        const Cell& in = incoming[static_cast<std::size_t>(next)];
        if (own >= 0 && in.symbol < m_cells[static_cast<std::size_t>(own)].symbol) {
            m_cells[static_cast<std::size_t>(--write)] = m_cells[static_cast<std::size_t>(own--)];
            continue;
        }
        double value = in.coefficient * coefficient;
        bool existing = own >= 0 && m_cells[static_cast<std::size_t>(own)].symbol == in.symbol;
        if (existing)
            value += m_cells[static_cast<std::size_t>(own--)].coefficient;
        --next;
        if (nearZero(value)) {
            if (existing)
                observe(in.symbol, 0.0, false);
            continue;
        }
        m_cells[static_cast<std::size_t>(--write)] = Cell{in.symbol, value};
        observe(in.symbol, value, !existing);
    }
    auto tail = m_cells.begin() + write;
    auto kept = m_cells.begin() + (own + 1);
    if (tail != kept)
        m_cells.erase(std::move(tail, m_cells.end(), kept), m_cells.end());
}

template <class Observer> bool Row::substitute(Symbol symbol, const Row& definition, Observer&& observe) {
    auto it = lowerBound(symbol);
    if (it == m_cells.end() || it->symbol != symbol)
        return false;
    double coefficient = it->coefficient;
    m_cells.erase(it);
    insert(definition, coefficient, observe);
    return true;
}

} // namespace platform::layout
