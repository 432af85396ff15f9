#pragma once

#include <memory>

#include "platform/preferences/PSSpecifier.h"
#include "platform/uikit/UITableViewCell.h"

namespace platform {

// Makes the cell of a row. A row's "cellClass" names the class: a class object stored as an object
// property, or a class name looked up in the runtime when the cell is made. A class that cannot be
// made or is no table cell gives a PSTableCell instead; a plain table cell class is initialised
// with the two-argument initWithStyle and knows nothing of the row.
class SpecifierCellFactory {
public:
    static std::shared_ptr<UITableViewCell> cellForSpecifier(const std::shared_ptr<PSSpecifier>& specifier);
    // The class "cellClass" names; nullptr when it names none.
    static Class cellClassOf(const PSSpecifier& specifier);
    static UITableViewCellStyle styleFor(PSCellType cellType);
};

} // namespace platform
