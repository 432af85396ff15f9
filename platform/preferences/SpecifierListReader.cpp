#include "platform/preferences/SpecifierListReader.h"

#include "platform/preferences/CellTypeNames.h"

namespace platform {
namespace {

// A string key's value, or `fallback` when the key is missing or not a string.
std::string stringForKey(const Value& row, std::string_view key, std::string fallback = {}) {
    const Value& value = row[key];
    return value.isString() ? value.asString() : fallback;
}

} // namespace

std::shared_ptr<PSSpecifierList> SpecifierListReader::specifiersFromList(const Value& list,
                                                                         const id& target) {
    if (!list.isDictionary())
        return nullptr;
    auto specifiers = std::make_shared<PSSpecifierList>();
    for (const Value& row : list["items"].asArray()) {
        if (auto specifier = specifierFromRow(row, target))
            specifiers->push_back(std::move(specifier));
    }
    return specifiers;
}

std::shared_ptr<PSSpecifier> SpecifierListReader::specifierFromRow(const Value& row, const id& target) {
    if (!row.isDictionary())
        return nullptr;
    PSCellType cellType = cellTypeOfRow(row);
    // Detail pages are looked up when the row is read; a class that appears later (a module loaded
    // afterwards) is found again when the row is tapped, from the "detail" property.
    Class detailClass = row["detail"].isString() ? objc_getClass(row["detail"].asString()) : nullptr;
    auto specifier = PSSpecifier::preferenceSpecifierNamed(stringForKey(row, "label"), target, {}, {},
                                                           detailClass, cellType, nullptr);
    specifier->properties() = row;
    if (row["id"].isString())
        specifier->setIdentifier(row["id"].asString());
    specifier->action = stringForKey(row, "action");
    if (cellType != PSGroupCell)
        readSelectors(*specifier, row);
    if (row.contains("validValues") || row.contains("validTitles"))
        specifier->setValues(row["validValues"], row["validTitles"]);
    return specifier;
}

PSCellType SpecifierListReader::cellTypeOfRow(const Value& row) {
    if (!row.contains("cell"))
        return PSDefaultCell;
    const Value& cell = row["cell"];
    return cell.isString() ? CellTypeNames::cellType(cell.asString()) : PSUnknownCell;
}

void SpecifierListReader::readSelectors(PSSpecifier& specifier, const Value& row) {
    specifier.setter = stringForKey(row, "set", std::string(PSSpecifier::defaultSetter));
    specifier.getter = stringForKey(row, "get", std::string(PSSpecifier::defaultGetter));
}

} // namespace platform
