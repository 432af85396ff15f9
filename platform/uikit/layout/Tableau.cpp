#include "platform/uikit/layout/Tableau.h"

namespace platform::layout {

// Runs `change(row, observer)` on the slot's row, then indexes the symbols the row gained. The
// index is updated afterwards because compacting a column reads rows, and this one is mid-edit.
template <class Edit> void Tableau::edit(std::uint32_t slot, Edit&& change) {
    bool watched = m_slots[slot].watched;
    auto observe = [this, watched](Symbol symbol, double coefficient, bool added) {
        if (added)
            m_added.push_back(symbol);
        else if (coefficient == 0.0 && !symbol.isDummy())
            ++m_columns[symbol.index()].stale;
        if (watched && coefficient <= 0.0)
            m_touched.push_back(symbol);
    };
    change(m_rows[slot], observe);
    ++m_version;
    for (Symbol symbol : m_added)
        index(symbol, slot);
    m_added.clear();
}

Symbol Tableau::createSymbol(Symbol::Kind kind) {
    if (!m_freeSymbols.empty()) {
        std::uint32_t recycled = m_freeSymbols.back();
        m_freeSymbols.pop_back();
        return Symbol(kind, recycled);
    }
    auto fresh = static_cast<std::uint32_t>(m_basicRow.size());
    m_basicRow.push_back(kNoRow);
    m_columns.emplace_back();
    return Symbol(kind, fresh);
}

void Tableau::releaseSymbol(Symbol symbol) {
    ++m_version;
    std::uint32_t own = rowOf(symbol);
    if (own != kNoRow)
        dropRow(own);
    auto purge = [&](std::uint32_t slot) {
        if (m_slots[slot].live && m_rows[slot].remove(symbol) && m_slots[slot].watched)
            m_touched.push_back(symbol);
    };
    // Dummies have no column. Every way a constraint leaves takes its dummy out of the basic rows
    // exactly (its row is dropped, or it is substituted away), so only the objective is checked.
    if (symbol.isDummy()) {
        for (std::uint32_t slot : m_watchedSlots)
            purge(slot);
    }
    Column& column = m_columns[symbol.index()];
    for (std::uint32_t slot : column.slots)
        purge(slot);
    column.slots.clear();
    column.stale = 0;
    m_freeSymbols.push_back(symbol.index());
}

std::uint32_t Tableau::addRow(Row row, Symbol basic) {
    std::uint32_t slot;
    if (!m_freeSlots.empty()) {
        slot = m_freeSlots.back();
        m_freeSlots.pop_back();
        m_rows[slot] = std::move(row);
    } else {
        slot = static_cast<std::uint32_t>(m_rows.size());
        m_rows.push_back(std::move(row));
        m_slots.emplace_back();
    }
    ++m_version;
    m_slots[slot].basic = basic;
    m_slots[slot].live = true;
    m_slots[slot].watched = false;
    if (basic.isValid())
        m_basicRow[basic.index()] = slot;
    for (const Row::Cell& cell : m_rows[slot].cells())
        index(cell.symbol, slot);
    return slot;
}

void Tableau::watch(std::uint32_t slot) {
    m_slots[slot].watched = true;
    m_watchedSlots.push_back(slot);
}

void Tableau::dropRow(std::uint32_t slot) {
    ++m_version;
    if (m_slots[slot].watched)
        std::erase(m_watchedSlots, slot);
    SlotInfo& info = m_slots[slot];
    if (info.basic.isValid())
        m_basicRow[info.basic.index()] = kNoRow;
    info = SlotInfo{Symbol(), false, false, info.stamp};
    // Column entries still name this slot; an empty row matches none of them.
    for (const Row::Cell& cell : m_rows[slot].cells()) {
        if (!cell.symbol.isDummy())
            ++m_columns[cell.symbol.index()].stale;
    }
    m_rows[slot].clear();
    m_freeSlots.push_back(slot);
}

void Tableau::insertInto(std::uint32_t slot, Symbol symbol, double coefficient) {
    edit(slot, [&](Row& row, auto& observe) { row.insert(symbol, coefficient, observe); });
}

void Tableau::insertInto(std::uint32_t slot, const Row& other, double coefficient) {
    edit(slot, [&](Row& row, auto& observe) { row.insert(other, coefficient, observe); });
}

void Tableau::pivot(std::uint32_t slot, Symbol entering, std::vector<Symbol>& infeasible) {
    Symbol leaving = m_slots[slot].basic;
    edit(slot, [&](Row& row, auto& observe) { row.solveFor(leaving, entering, observe); });
    m_basicRow[leaving.index()] = kNoRow;
    m_basicRow[entering.index()] = slot;
    m_slots[slot].basic = entering;
    substitute(entering, slot, infeasible);
}

void Tableau::substitute(Symbol symbol, std::uint32_t source, std::vector<Symbol>& infeasible) {
    const Row& definition = m_rows[source];
    if (symbol.isDummy()) {
        for (std::uint32_t slot = 0; slot < m_rows.size(); ++slot) {
            if (slot != source && m_slots[slot].live)
                substituteInto(slot, symbol, definition, infeasible);
        }
        return;
    }
    // The column is swapped out: no row can gain `symbol` here (its definition does not contain
    // it), so nothing is lost, and every row that had it loses it.
    m_visiting.swap(m_columns[symbol.index()].slots);
    m_columns[symbol.index()].stale = 0;
    for (std::uint32_t slot : m_visiting) {
        if (slot != source && m_slots[slot].live)
            substituteInto(slot, symbol, definition, infeasible);
    }
    m_visiting.clear();
}

void Tableau::substituteInto(std::uint32_t slot, Symbol symbol, const Row& definition,
                             std::vector<Symbol>& infeasible) {
    bool changed = false;
    edit(slot, [&](Row& row, auto& observe) { changed = row.substitute(symbol, definition, observe); });
    Symbol basic = m_slots[slot].basic;
    if (changed && basic.isValid() && !basic.isExternal() && m_rows[slot].constant() < 0.0)
        infeasible.push_back(basic);
}

void Tableau::index(Symbol symbol, std::uint32_t slot) {
    if (symbol.isDummy())
        return;
    Column& column = m_columns[symbol.index()];
    // Compacting only pays when much of the column is stale; otherwise the column just grows.
    if (column.slots.size() == column.slots.capacity() && column.slots.size() >= 16 &&
        column.stale * 2 >= column.slots.size()) {
        visitRowsWith(symbol, [](std::uint32_t, double) {});
    }
    if (column.slots.capacity() == 0)
        column.slots.reserve(4);
    column.slots.push_back(slot);
}

std::uint32_t Tableau::nextStamp() {
    if (++m_stamp == 0) {
        for (SlotInfo& info : m_slots)
            info.stamp = 0;
        m_stamp = 1;
    }
    return m_stamp;
}

void Tableau::clear() {
    std::uint64_t version = m_version;
    *this = Tableau();
    m_version = version + 1;
}

} // namespace platform::layout
