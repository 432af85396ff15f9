#include "platform/preferences/PSTableCell.h"

#include "platform/preferences/CellTypeNames.h"

namespace {

[[maybe_unused]] const Class registeredClass =
    platform::registerClass<PSTableCell, UITableViewCell>();

UITableViewCellAccessoryType accessoryForCellType(PSCellType cellType) {
    switch (cellType) {
    case PSLinkCell:
    case PSLinkListCell:
        return UITableViewCellAccessoryDisclosureIndicator;
    default:
        return UITableViewCellAccessoryNone;
    }
}

} // namespace

std::shared_ptr<PSTableCell> PSTableCell::initWithStyle(UITableViewCellStyle style,
                                                        std::string reuseIdentifier,
                                                        const std::shared_ptr<PSSpecifier>& specifier) {
    UITableViewCell::initWithStyle(style, std::move(reuseIdentifier));
    refreshCellContentsWithSpecifier(specifier);
    return selfAs<PSTableCell>();
}

void PSTableCell::refreshCellContentsWithSpecifier(const std::shared_ptr<PSSpecifier>& specifier) {
    m_specifier = specifier;
    setText(specifier ? specifier->name() : std::string());
    setAccessoryType(accessoryForCellType(specifier ? specifier->cellType() : PSDefaultCell));
}

PSCellType PSTableCell::cellTypeFromString(std::string_view name) {
    return platform::CellTypeNames::cellType(name);
}

std::string_view PSTableCell::stringFromCellType(PSCellType cellType) {
    return platform::CellTypeNames::name(cellType);
}
