#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/uikit/CGGeometry.h"

class PSListController;
class PSSpecifier;
class UITableView;
class UITableViewCell;

namespace platform::render {

// Where the Settings app's inset grouped list puts a page's sections: each section a card inset
// from the sides, its title above it and its footer below, rows at their heights. Rows collapsed to
// under a point take no room and draw nothing. Coordinates are the table's content coordinates.
struct GroupedListLayout {
    struct Row {
        std::shared_ptr<PSSpecifier> specifier;
        std::shared_ptr<UITableViewCell> cell;
        CGRect frame;
        bool firstInCard = false;
        bool lastInCard = false;
    };
    struct Section {
        std::optional<std::string> header;
        CGRect headerFrame = CGRectZero;
        std::optional<std::string> footer;
        CGRect footerFrame = CGRectZero;
        // Null when every row of the section is collapsed.
        CGRect card = CGRectNull;
        std::vector<Row> rows;
    };

    std::vector<Section> sections;
    CGFloat contentHeight = 0;

    // The side inset of the cards: 16 points on a compact width, wider on a regular one.
    static CGFloat cardInset(CGFloat width, bool regularWidth);
    static GroupedListLayout make(PSListController& page, UITableView& table, CGFloat width,
                                  bool regularWidth);
};

} // namespace platform::render
