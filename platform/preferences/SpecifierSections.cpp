#include "platform/preferences/SpecifierSections.h"

namespace platform {

SpecifierSections::SpecifierSections(const PSSpecifierList& specifiers) {
    for (const auto& specifier : specifiers) {
        if (!specifier)
            continue;
        if (specifier->cellType() == PSGroupCell)
            m_sections.push_back({specifier, {}});
        else if (m_sections.empty())
            m_sections.push_back({nullptr, {specifier}});
        else
            m_sections.back().rows.push_back(specifier);
    }
}

long SpecifierSections::rowCount(long index) const {
    const Section* found = section(index);
    return found ? static_cast<long>(found->rows.size()) : 0;
}

std::shared_ptr<PSSpecifier> SpecifierSections::specifierAt(long index, long row) const {
    const Section* found = section(index);
    if (!found || row < 0 || row >= static_cast<long>(found->rows.size()))
        return nullptr;
    return found->rows[static_cast<std::size_t>(row)];
}

std::shared_ptr<PSSpecifier> SpecifierSections::groupOf(long index) const {
    const Section* found = section(index);
    return found ? found->group : nullptr;
}

std::optional<std::pair<long, long>>
SpecifierSections::positionOf(const std::shared_ptr<PSSpecifier>& specifier) const {
    if (!specifier)
        return std::nullopt;
    for (std::size_t index = 0; index < m_sections.size(); ++index) {
        const Section& current = m_sections[index];
        if (current.group == specifier)
            return std::pair{static_cast<long>(index), -1L};
        for (std::size_t row = 0; row < current.rows.size(); ++row) {
            if (current.rows[row] == specifier)
                return std::pair{static_cast<long>(index), static_cast<long>(row)};
        }
    }
    return std::nullopt;
}

const SpecifierSections::Section* SpecifierSections::section(long index) const {
    if (index < 0 || index >= static_cast<long>(m_sections.size()))
        return nullptr;
    return &m_sections[static_cast<std::size_t>(index)];
}

} // namespace platform
