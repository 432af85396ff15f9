#pragma once

#include <memory>

#include "platform/foundation/Value.h"
#include "platform/preferences/PSSpecifier.h"

namespace platform {

// Turns a preferences list (a property list with an "items" array of row dictionaries) into rows.
// Every key of a row is kept in the row's properties; the keys the framework acts on are also read
// into the row itself: "cell", "label", "id", "detail", "action", "set", "get", "validValues" and
// "validTitles". A row whose "cell" is not a known name keeps PSUnknownCell; a row without "cell"
// is a PSDefaultCell. Items that are not dictionaries are skipped.
class SpecifierListReader {
public:
    // nullptr when `list` is not a dictionary; an empty list when it has no "items" array.
    static std::shared_ptr<PSSpecifierList> specifiersFromList(const Value& list, const id& target);
    static std::shared_ptr<PSSpecifier> specifierFromRow(const Value& row, const id& target);

private:
    static PSCellType cellTypeOfRow(const Value& row);
    static void readSelectors(PSSpecifier& specifier, const Value& row);
};

} // namespace platform
