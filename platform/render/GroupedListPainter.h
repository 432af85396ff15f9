#pragma once

class PSListController;
class UITableView;

namespace platform::render {

class ViewPainter;

// A preferences page's table as the Settings app draws it: the grouped background, each section a
// rounded card with hairline separators, titles above and grey footers below, and in each row its
// label, its control (a switch on or off, a slider, segments, a spinner), the value of a list row,
// a chevron on link rows and the tint on button rows. The cells' own subviews draw over their row.
class GroupedListPainter {
public:
    static void paint(UITableView& table, PSListController& page, ViewPainter& painter);
};

} // namespace platform::render
