#include <gtest/gtest.h>

#include <map>
#include <random>

#include "platform/uikit/layout/Row.h"

using platform::layout::Row;
using platform::layout::Symbol;

namespace {

using Reference = std::map<std::uint32_t, double>;

void addTo(Reference& reference, std::uint32_t raw, double coefficient) {
    double& cell = reference[raw];
    cell += coefficient;
    if (Row::nearZero(cell))
        reference.erase(raw);
}

Symbol symbolFor(std::uint32_t index) {
    return Symbol(static_cast<Symbol::Kind>(index % 4), index);
}

void expectSame(const Row& row, const Reference& reference) {
    ASSERT_EQ(row.cells().size(), reference.size());
    auto expected = reference.begin();
    for (const Row::Cell& cell : row.cells()) {
        EXPECT_EQ(cell.symbol.raw(), expected->first);
        EXPECT_DOUBLE_EQ(cell.coefficient, expected->second);
        ++expected;
    }
}

} // namespace

// Rows of every size are merged (one by one or by the backward merge) and must match a plain map,
// cancellations included, with the observer told of exactly the cells that appeared.
TEST(LayoutRow, MergingMatchesAReferenceMap) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::uint32_t> index(0, 40);
    std::uniform_int_distribution<int> coefficient(-3, 3);
    for (int trial = 0; trial < 400; ++trial) {
        Row row(1.0);
        Reference reference;
        for (int step = 0; step < 12; ++step) {
            Row other(2.0);
            Reference otherReference;
            int cells = std::uniform_int_distribution<int>(0, 30)(random);
            for (int i = 0; i < cells; ++i) {
                std::uint32_t raw = index(random);
                double value = coefficient(random);
                other.insert(symbolFor(raw), value);
                addTo(otherReference, symbolFor(raw).raw(), value);
            }
            expectSame(other, otherReference);
            double factor = coefficient(random);
            Reference before = reference;
            std::map<std::uint32_t, std::pair<double, bool>> heard;
            row.insert(other, factor, [&](Symbol symbol, double value, bool isNew) {
                EXPECT_TRUE(heard.emplace(symbol.raw(), std::make_pair(value, isNew)).second);
            });
            for (const auto& [raw, value] : otherReference)
                addTo(reference, raw, value * factor);
            for (const auto& [raw, report] : heard) {
                EXPECT_TRUE(otherReference.contains(raw));
                EXPECT_EQ(report.second, !before.contains(raw));
                auto now = reference.find(raw);
                EXPECT_DOUBLE_EQ(report.first, now == reference.end() ? 0.0 : now->second);
            }
            std::size_t added = 0;
            for (const auto& [raw, report] : heard)
                added += report.second;
            expectSame(row, reference);
            std::size_t appeared = 0;
            for (const auto& entry : reference)
                appeared += !before.contains(entry.first);
            EXPECT_EQ(added, appeared);
            for (const auto& entry : before) {
                if (!reference.contains(entry.first)) {
                    EXPECT_TRUE(heard.contains(entry.first)) << "cancelled cell not reported";
                }
            }
        }
    }
}

TEST(LayoutRow, SolvingForASymbolRewritesTheRow) {
    Symbol x(Symbol::Kind::External, 1), y(Symbol::Kind::External, 2), s(Symbol::Kind::Slack, 3);
    // 0 = 6 + 2x - 4y  ->  x = -3 + 2y
    Row row(6.0);
    row.insert(x, 2.0);
    row.insert(y, -4.0);
    row.solveFor(x);
    EXPECT_DOUBLE_EQ(row.constant(), -3.0);
    EXPECT_DOUBLE_EQ(row.coefficientFor(y), 2.0);
    EXPECT_FALSE(row.contains(x));
    // x = -3 + 2y  ->  y = 1.5 + 0.5x
    row.solveFor(x, y, [](Symbol, double, bool) {});
    EXPECT_DOUBLE_EQ(row.constant(), 1.5);
    EXPECT_DOUBLE_EQ(row.coefficientFor(x), 0.5);
    EXPECT_FALSE(row.contains(y));

    // Substituting y = 1.5 + 0.5x into 1 + y + s gives 2.5 + 0.5x + s.
    Row target(1.0);
    target.insert(y, 1.0);
    target.insert(s, 1.0);
    EXPECT_TRUE(target.substitute(y, row, [](Symbol, double, bool) {}));
    EXPECT_DOUBLE_EQ(target.constant(), 2.5);
    EXPECT_DOUBLE_EQ(target.coefficientFor(x), 0.5);
    EXPECT_DOUBLE_EQ(target.coefficientFor(s), 1.0);
    EXPECT_FALSE(target.substitute(y, row, [](Symbol, double, bool) {}));
    EXPECT_FALSE(target.allDummies());
}
