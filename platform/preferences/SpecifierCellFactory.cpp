#include "platform/preferences/SpecifierCellFactory.h"

#include <string>

#include "platform/preferences/PSTableCell.h"

namespace platform {

std::shared_ptr<UITableViewCell>
SpecifierCellFactory::cellForSpecifier(const std::shared_ptr<PSSpecifier>& specifier) {
    if (!specifier)
        return nullptr;
    UITableViewCellStyle style = styleFor(specifier->cellType());
    Class cellClass = cellClassOf(*specifier);
    std::string reuseIdentifier = cellClass
                                      ? class_getName(cellClass)
                                      : std::string(PSTableCell::stringFromCellType(specifier->cellType()));
    auto made =
        cellClass ? std::dynamic_pointer_cast<UITableViewCell>(class_createInstance(cellClass)) : nullptr;
    if (auto cell = std::dynamic_pointer_cast<PSTableCell>(made))
        return cell->initWithStyle(style, std::move(reuseIdentifier), specifier);
    if (made)
        return made->initWithStyle(style, std::move(reuseIdentifier));
    return std::make_shared<PSTableCell>()->initWithStyle(style, std::move(reuseIdentifier), specifier);
}

Class SpecifierCellFactory::cellClassOf(const PSSpecifier& specifier) {
    if (Class cls = specifier.classPropertyForKey("cellClass"))
        return cls;
    const Value& name = specifier.properties()["cellClass"];
    return name.isString() ? objc_getClass(name.asString()) : nullptr;
}

UITableViewCellStyle SpecifierCellFactory::styleFor(PSCellType cellType) {
    switch (cellType) {
    case PSLinkListCell:
    case PSTitleValueCell:
        return UITableViewCellStyleValue1;
    default:
        return UITableViewCellStyleDefault;
    }
}

} // namespace platform
