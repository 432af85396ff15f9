#include "platform/render/TablePainter.h"

#include <cairo.h>

#include <algorithm>
#include <map>

#include "platform/render/ControlPainter.h"
#include "platform/render/TextPainter.h"
#include "platform/render/ViewPainter.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITableViewCell.h"

namespace platform::render {

namespace {

constexpr CGFloat hairline = 1.0 / 3;
using Layout = GroupedTableLayout;

struct ShownCell {
    std::shared_ptr<UITableViewCell> cell;
    long section = 0;
    long row = 0;
};

// The cells shown, by section, top to bottom.
std::map<long, std::vector<ShownCell>> shownCellsBySection(UITableView& table) {
    std::map<long, std::vector<ShownCell>> bySection;
    auto cells = table.visibleCells();
    auto paths = table.indexPathsForVisibleRows();
    for (std::size_t index = 0; index < cells.size() && index < paths.size(); ++index)
        if (cells[index] && !cells[index]->isHidden())
            bySection[paths[index]->section()].push_back({cells[index], paths[index]->section(), paths[index]->row()});
    for (auto& [section, shown] : bySection)
        std::sort(shown.begin(), shown.end(), [](const ShownCell& a, const ShownCell& b) { return a.row < b.row; });
    return bySection;
}

void paintSectionTexts(const DrawingContext& context, const Layout::Section& section) {
    TextPainter::Style small{UIFont::systemFontOfSize(Layout::headerFontSize),
                             context.resolve(UIColor::secondaryLabelColor()), NSTextAlignmentLeft, 0};
    if (section.header)
        TextPainter::paintText(context, *section.header, section.headerFrame, small);
    if (section.footer) {
        small.alignment = section.footerAlignment;
        TextPainter::paintText(context, *section.footer, section.footerFrame, small);
    }
}

void paintCard(ViewPainter& painter, const Layout::Section& section, const std::vector<ShownCell>& cells,
               CGRect visible) {
    const DrawingContext& context = painter.context();
    if (CGRectIsNull(section.card) || !CGRectIntersectsRect(section.card, visible))
        return;
    context.fillRect(section.card, context.resolve(UIColor::secondarySystemGroupedBackgroundColor()),
                     Layout::cardRadius);
    cairo_t* cr = context.cairo();
    SavedState clipped(cr);
    context.roundedRect(section.card, Layout::cardRadius);
    cairo_clip(cr);
    DrawColor separator = context.resolve(UIColor::separatorColor());
    for (const auto& shown : cells) {
        CGRect frame = shown.cell->frame();
        if (!CGRectIntersectsRect(frame, visible))
            continue;
        painter.paintPlaced(*shown.cell);
        if (CGRectGetMaxY(frame) < CGRectGetMaxY(section.card) - 0.5)
            context.fillRect({{frame.origin.x + Layout::textInset, CGRectGetMaxY(frame) - hairline},
                              {frame.size.width - Layout::textInset, hairline}},
                             separator);
    }
}

} // namespace

bool TablePainter::paintTable(UITableView& table, ViewPainter& painter) {
    if (table.style() != UITableViewStyle::InsetGrouped)
        return false;
    const DrawingContext& context = painter.context();
    CGRect bounds = table.bounds();
    context.fillRect(bounds, context.resolve(UIColor::systemGroupedBackgroundColor()));
    auto cells = shownCellsBySection(table);
    const auto& sections = table._groupedSections();
    for (std::size_t index = 0; index < sections.size(); ++index) {
        paintSectionTexts(context, sections[index]);
        paintCard(painter, sections[index], cells[static_cast<long>(index)], bounds);
    }
    // Views the table holds that are not rows go on top.
    for (const auto& subview : table.subviews())
        if (subview && !std::dynamic_pointer_cast<UITableViewCell>(subview))
            painter.paintPlaced(*subview);
    return true;
}

void TablePainter::paintCell(UITableViewCell& cell, ViewPainter& painter) {
    if (cell.accessoryView())
        return;
    const DrawingContext& context = painter.context();
    CGRect bounds = cell.bounds();
    CGFloat right = bounds.origin.x + bounds.size.width - UITableViewCell::horizontalMargin;
    CGFloat middle = CGRectGetMidY(bounds);
    switch (cell.accessoryType()) {
    case UITableViewCellAccessoryDisclosureIndicator:
        ControlPainter::paintChevron(context, right, middle);
        break;
    case UITableViewCellAccessoryCheckmark:
        ControlPainter::paintCheckmark(context, right, middle, context.resolve(cell.tintColor()));
        break;
    default:
        break;
    }
}

} // namespace platform::render
