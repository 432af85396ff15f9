#include "platform/uikit/layout/Row.h"

namespace platform::layout {

double Row::coefficientFor(Symbol symbol) const {
    auto it = std::lower_bound(m_cells.begin(), m_cells.end(), symbol,
                               [](const Cell& cell, Symbol s) { return cell.symbol < s; });
    return it != m_cells.end() && it->symbol == symbol ? it->coefficient : 0.0;
}

bool Row::allDummies() const {
    return std::all_of(m_cells.begin(), m_cells.end(),
                       [](const Cell& cell) { return cell.symbol.isDummy(); });
}

void Row::reverseSign() {
    m_constant = -m_constant;
    for (Cell& cell : m_cells)
        cell.coefficient = -cell.coefficient;
}

bool Row::remove(Symbol symbol) {
    auto it = lowerBound(symbol);
    if (it == m_cells.end() || it->symbol != symbol)
        return false;
    m_cells.erase(it);
    return true;
}

void Row::clear() {
    m_cells.clear();
    m_constant = 0.0;
}

void Row::solveFor(Symbol symbol) {
    auto it = lowerBound(symbol);
    if (it == m_cells.end() || it->symbol != symbol)
        return;
    double factor = -1.0 / it->coefficient;
    m_cells.erase(it);
    m_constant *= factor;
    for (Cell& cell : m_cells)
        cell.coefficient *= factor;
}

} // namespace platform::layout
