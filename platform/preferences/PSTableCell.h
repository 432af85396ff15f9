#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/preferences/PSCellType.h"
#include "platform/preferences/PSSpecifier.h"
#include "platform/uikit/UITableViewCell.h"

// The cell of a preferences row. The framework makes cells with the default constructor (or by
// class name through the runtime, for a row's "cellClass") and then calls the three-argument
// initWithStyle; subclasses override it, call this one first and build their content after.
class PSTableCell : public UITableViewCell {
public:
    static constexpr platform::RegisteredName<PSTableCell> registeredName{"PSTableCell"};
    PSTableCell() = default;

    using UITableViewCell::initWithStyle;
    // Keeps the specifier and shows its label; returns the cell itself.
    virtual std::shared_ptr<PSTableCell> initWithStyle(UITableViewCellStyle style,
                                                       std::string reuseIdentifier,
                                                       const std::shared_ptr<PSSpecifier>& specifier);

    std::shared_ptr<PSSpecifier> specifier() const { return m_specifier; }
    // Shows another row in this cell.
    virtual void refreshCellContentsWithSpecifier(const std::shared_ptr<PSSpecifier>& specifier);

    // PSUnknownCell for a name that is not a cell type.
    static PSCellType cellTypeFromString(std::string_view name);
    // "" for PSUnknownCell.
    static std::string_view stringFromCellType(PSCellType cellType);

private:
    std::shared_ptr<PSSpecifier> m_specifier;
};

using PSTableCellPtr = std::shared_ptr<PSTableCell>;
