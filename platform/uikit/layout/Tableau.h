#pragma once

#include <cstdint>
#include <vector>

#include "platform/uikit/layout/Row.h"
#include "platform/uikit/layout/Symbol.h"

namespace platform::layout {

// The rows of the simplex tableau in numbered slots, plus an index from each symbol to the slots
// whose rows mention it, so substitution and ratio tests visit only the rows that matter instead
// of all of them.
//
// Slots hold basic rows (`basic = row`) and auxiliary rows without a basic symbol (the objective
// levels, the artificial objective). The column index is lazy: editing a row appends the slot to
// the columns of symbols it gains but nothing is erased when a symbol cancels out, so a column may
// hold stale or repeated slots; visitRowsWith() filters and compacts it, and so does a column that
// is about to grow while at least half of it is known to be stale.
//
// Dummy symbols (the markers of required equalities) are not indexed at all: they crowd many rows
// but are looked for only when such a constraint is removed, which then scans every row.
class Tableau {
public:
    static constexpr std::uint32_t kNoRow = 0xffffffffu;

    Symbol createSymbol(Symbol::Kind kind);
    // Purges the symbol from every row (dropping its own row if it is basic) and recycles its index.
    void releaseSymbol(Symbol symbol);

    // The slot whose basic symbol this is, or kNoRow.
    std::uint32_t rowOf(Symbol symbol) const {
        if (!symbol.isValid() || symbol.index() >= m_basicRow.size())
            return kNoRow;
        std::uint32_t slot = m_basicRow[symbol.index()];
        return slot != kNoRow && m_slots[slot].basic == symbol ? slot : kNoRow;
    }
    Row& row(std::uint32_t slot) { return m_rows[slot]; }
    const Row& row(std::uint32_t slot) const { return m_rows[slot]; }
    Symbol basicOf(std::uint32_t slot) const { return m_slots[slot].basic; }

    // Stores a row (basic invalid for an auxiliary row) and indexes its cells.
    std::uint32_t addRow(Row row, Symbol basic);
    void dropRow(std::uint32_t slot);
    // A watched row (an objective level) reports symbols whose coefficient drops to zero or below
    // (see touched()). Dropping the row ends the watch.
    void watch(std::uint32_t slot);

    void insertInto(std::uint32_t slot, Symbol symbol, double coefficient);
    void insertInto(std::uint32_t slot, const Row& other, double coefficient);

    // Makes `entering` basic in the slot's row, in place of its basic symbol, and substitutes it
    // everywhere else. Restricted rows that turn negative are appended to `infeasible`.
    void pivot(std::uint32_t slot, Symbol entering, std::vector<Symbol>& infeasible);
    // Replaces `symbol`, just made basic in `source`, by its definition in every other row.
    void substitute(Symbol symbol, std::uint32_t source, std::vector<Symbol>& infeasible);

    // Calls visit(slot, coefficient) once for each live row that contains the symbol (compacting
    // its column on the way). The visitor may change row constants, but not cells.
    template <class Visit> void visitRowsWith(Symbol symbol, Visit&& visit);
    // How many rows mention the symbol, give or take stale index entries.
    std::size_t columnSize(Symbol symbol) const { return m_columns[symbol.index()].slots.size(); }
    // Symbols whose coefficient in a watched row became zero or negative since the last clear.
    std::vector<Symbol>& touched() { return m_touched; }

    // Changes whenever any row's cells or the set of rows change (not when only constants move).
    std::uint64_t version() const { return m_version; }
    std::size_t liveRowCount() const { return m_rows.size() - m_freeSlots.size(); }
    void clear();

private:
    struct SlotInfo {
        Symbol basic;
        bool live = false;
        bool watched = false;
        std::uint32_t stamp = 0;
    };

    template <class Edit> void edit(std::uint32_t slot, Edit&& change);
    void substituteInto(std::uint32_t slot, Symbol symbol, const Row& definition,
                        std::vector<Symbol>& infeasible);
    void index(Symbol symbol, std::uint32_t slot);
    std::uint32_t nextStamp();

    std::vector<Row> m_rows;
    std::vector<SlotInfo> m_slots;
    std::vector<std::uint32_t> m_freeSlots;
    std::vector<std::uint32_t> m_watchedSlots;
    // Per symbol index.
    std::vector<std::uint32_t> m_basicRow;
    struct Column {
        std::vector<std::uint32_t> slots;
        // Entries known to have gone stale since the last compaction.
        std::uint32_t stale = 0;
    };
    std::vector<Column> m_columns;
    std::vector<std::uint32_t> m_freeSymbols;

    std::vector<Symbol> m_added;
    std::vector<Symbol> m_touched;
    std::vector<std::uint32_t> m_visiting;
    std::uint32_t m_stamp = 0;
    std::uint64_t m_version = 0;
};

template <class Visit> void Tableau::visitRowsWith(Symbol symbol, Visit&& visit) {
    if (symbol.isDummy()) {
        for (std::uint32_t slot = 0; slot < m_rows.size(); ++slot) {
            double coefficient = m_slots[slot].live ? m_rows[slot].coefficientFor(symbol) : 0.0;
            if (coefficient != 0.0)
                visit(slot, coefficient);
        }
        return;
    }
    Column& entry = m_columns[symbol.index()];
    std::vector<std::uint32_t>& column = entry.slots;
    entry.stale = 0;
    std::uint32_t stamp = nextStamp();
    std::size_t kept = 0;
    for (std::size_t i = 0; i < column.size(); ++i) {
        std::uint32_t slot = column[i];
        SlotInfo& info = m_slots[slot];
        if (info.stamp == stamp || !info.live)
            continue;
        double coefficient = m_rows[slot].coefficientFor(symbol);
        if (coefficient == 0.0)
            continue;
        info.stamp = stamp;
        column[kept++] = slot;
        visit(slot, coefficient);
    }
    column.resize(kept);
}

} // namespace platform::layout
