#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/uikit/CGGeometry.h"
#include "platform/uikit/NSTextAlignment.h"

namespace platform {

// Where an inset grouped table puts its sections, as the Settings app lists them: each section a
// card inset from the sides, its title (upper case) above it and its footer below, the rows stacked
// in the card at their heights. Rows under a point high are collapsed: they take no room. All in
// the table's content coordinates.
struct GroupedTableLayout {
    struct SectionInput {
        std::optional<std::string> header;
        std::optional<std::string> footer;
        NSTextAlignment footerAlignment = NSTextAlignmentNatural;
        std::vector<CGFloat> rowHeights;
    };
    struct Section {
        std::optional<std::string> header;
        CGRect headerFrame = CGRectZero;
        std::optional<std::string> footer;
        CGRect footerFrame = CGRectZero;
        NSTextAlignment footerAlignment = NSTextAlignmentNatural;
        // Null when every row of the section is collapsed.
        CGRect card = CGRectNull;
        // One per row; a collapsed row has a zero height where it would be.
        std::vector<CGRect> rows;
    };

    static constexpr CGFloat textInset = 16;
    static constexpr CGFloat cardRadius = 10;
    static constexpr CGFloat headerFontSize = 13;

    std::vector<Section> sections;
    CGFloat contentHeight = 0;

    static bool isCollapsed(CGFloat rowHeight) { return !(rowHeight >= 1); }
    // The side inset of the cards: 16 points on a compact width, wider on a regular one.
    static CGFloat cardInset(CGFloat width, bool regularWidth);
    static GroupedTableLayout make(const std::vector<SectionInput>& input, CGFloat width, bool regularWidth);
};

} // namespace platform
