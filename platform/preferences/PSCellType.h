#pragma once

// The kinds of row the Preferences framework draws, as a row's "cell" key names them
// ("PSSwitchCell"). The numbers are this stand-in's own; PSUnknownCell marks a name the framework
// does not know, so a linter can report it instead of the row silently becoming a plain cell.
enum PSCellType : int {
    PSUnknownCell = -1,
    PSGroupCell = 0,
    PSLinkCell,
    PSLinkListCell,
    PSListItemCell,
    PSTitleValueCell,
    PSSliderCell,
    PSSwitchCell,
    PSStaticTextCell,
    PSEditTextCell,
    PSSegmentCell,
    PSGiantIconCell,
    PSGiantCell,
    PSSecureEditTextCell,
    PSButtonCell,
    PSEditTextViewCell,
    PSSpinnerCell,
    PSDefaultCell,
};
