#pragma once

class UITableView;
class UITableViewCell;

namespace platform::render {

class ViewPainter;

// A table's and its cells' own drawing. An inset grouped table paints the grouped background, each
// section's title, card and footer, its cells clipped to their card's rounded corners with hairline
// separators between them, then the views it holds that are not cells. A cell draws the chevron or
// checkmark its accessory type asks for when it has no accessory view.
class TablePainter {
public:
    // False for tables of other styles, whose subviews the caller draws.
    static bool paintTable(UITableView& table, ViewPainter& painter);
    static void paintCell(UITableViewCell& cell, ViewPainter& painter);
};

} // namespace platform::render
