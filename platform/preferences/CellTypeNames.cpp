#include "platform/preferences/CellTypeNames.h"

#include <array>
#include <utility>

namespace platform {
namespace {

constexpr std::array<std::pair<PSCellType, std::string_view>, 17> names{{
    {PSGroupCell, "PSGroupCell"},
    {PSLinkCell, "PSLinkCell"},
    {PSLinkListCell, "PSLinkListCell"},
    {PSListItemCell, "PSListItemCell"},
    {PSTitleValueCell, "PSTitleValueCell"},
    {PSSliderCell, "PSSliderCell"},
    {PSSwitchCell, "PSSwitchCell"},
    {PSStaticTextCell, "PSStaticTextCell"},
    {PSEditTextCell, "PSEditTextCell"},
    {PSSegmentCell, "PSSegmentCell"},
    {PSGiantIconCell, "PSGiantIconCell"},
    {PSGiantCell, "PSGiantCell"},
    {PSSecureEditTextCell, "PSSecureEditTextCell"},
    {PSButtonCell, "PSButtonCell"},
    {PSEditTextViewCell, "PSEditTextViewCell"},
    {PSSpinnerCell, "PSSpinnerCell"},
    {PSDefaultCell, "PSDefaultCell"},
}};

} // namespace

PSCellType CellTypeNames::cellType(std::string_view name) {
    for (const auto& [cellType, cellName] : names) {
        if (cellName == name)
            return cellType;
    }
    return PSUnknownCell;
}

std::string_view CellTypeNames::name(PSCellType cellType) {
    for (const auto& [knownType, cellName] : names) {
        if (knownType == cellType)
            return cellName;
    }
    return {};
}

} // namespace platform
