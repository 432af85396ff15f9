#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/preferences/PSSpecifier.h"

namespace platform {

// A page's rows as the table shows them: every group row opens a section and titles it; rows before
// the first group form an untitled first section. Group rows themselves are not rows of the table.
class SpecifierSections {
public:
    SpecifierSections() = default;
    explicit SpecifierSections(const PSSpecifierList& specifiers);

    long count() const { return static_cast<long>(m_sections.size()); }
    // 0 for a section out of range.
    long rowCount(long section) const;
    // nullptr out of range.
    std::shared_ptr<PSSpecifier> specifierAt(long section, long row) const;
    // The group row that opened the section; nullptr for the untitled first section.
    std::shared_ptr<PSSpecifier> groupOf(long section) const;
    // (section, row) of a row, or of the section a group row opens (row -1); nothing when absent.
    std::optional<std::pair<long, long>> positionOf(const std::shared_ptr<PSSpecifier>& specifier) const;

private:
    struct Section {
        std::shared_ptr<PSSpecifier> group;
        std::vector<std::shared_ptr<PSSpecifier>> rows;
    };
    const Section* section(long index) const;

    std::vector<Section> m_sections;
};

} // namespace platform
