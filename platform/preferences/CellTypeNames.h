#pragma once

#include <string_view>

#include "platform/preferences/PSCellType.h"

namespace platform {

// The names rows use for their cell type ("PSSwitchCell") and back.
class CellTypeNames {
public:
    // PSUnknownCell for a name the framework does not know.
    static PSCellType cellType(std::string_view name);
    // "" for PSUnknownCell or a value outside the enumeration.
    static std::string_view name(PSCellType cellType);
};

} // namespace platform
