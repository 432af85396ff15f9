#pragma once

#include <compare>
#include <cstddef>
#include <memory>
#include <string>

#include "platform/runtime/NSObject.h"

// A (section, row) position in a table. Ordered by section, then row.
class NSIndexPath : public NSObject {
public:
    static std::shared_ptr<NSIndexPath> indexPathForRow(long row, long section);
    NSIndexPath() = default;
    NSIndexPath(long row, long section) : m_section(section), m_row(row) {}

    long row() const { return m_row; }
    long section() const { return m_section; }
    long item() const { return m_row; }

    bool isEqual(const std::shared_ptr<NSIndexPath>& other) const { return other && *this == *other; }
    // -1, 0 or 1 as NSComparisonResult: ascending, same, descending. A nil other sorts first.
    int compare(const std::shared_ptr<NSIndexPath>& other) const;
    // "<NSIndexPath: 0x...> {length = 2, path = 0 - 3}"
    std::string description() const override;

    friend bool operator==(const NSIndexPath& lhs, const NSIndexPath& rhs) {
        return lhs.m_section == rhs.m_section && lhs.m_row == rhs.m_row;
    }
    friend std::strong_ordering operator<=>(const NSIndexPath& lhs, const NSIndexPath& rhs) {
        if (auto order = lhs.m_section <=> rhs.m_section; order != 0)
            return order;
        return lhs.m_row <=> rhs.m_row;
    }

private:
    long m_section = 0;
    long m_row = 0;
};

using NSIndexPathPtr = std::shared_ptr<NSIndexPath>;
