#include "platform/render/GroupedListPainter.h"

#include <cairo.h>

#include <algorithm>

#include "platform/preferences/PSListController.h"
#include "platform/preferences/PSTableCell.h"
#include "platform/render/ControlPainter.h"
#include "platform/render/GroupedListLayout.h"
#include "platform/render/TextPainter.h"
#include "platform/render/ViewPainter.h"
#include "platform/runtime/ObjCRuntime.h"
#include "platform/uikit/AppearanceRegistry.h"
#include "platform/uikit/UITraitCollection.h"

namespace platform::render {

namespace {

constexpr CGFloat cardRadius = 10;
constexpr CGFloat textInset = 16;
constexpr CGFloat hairline = 1.0 / 3;

struct RowPalette {
    DrawColor card, separator, label, secondary, tint, switchTint;
};

// What contains a row's control, innermost first: the table, the page owning it, then theirs.
std::vector<Class> containersOfRows(UITableView& table) {
    std::vector<Class> chain{object_getClass(table.selfAs<UITableView>())};
    if (auto owner = table._viewDelegate())
        chain.push_back(object_getClass(owner));
    auto outer = AppearanceRegistry::containerChainOfView(table);
    chain.insert(chain.end(), outer.begin(), outer.end());
    return chain;
}

RowPalette paletteFor(const DrawingContext& context, UITableView& table) {
    RowPalette palette;
    palette.card = context.resolve(UIColor::secondarySystemGroupedBackgroundColor());
    palette.separator = context.resolve(UIColor::separatorColor());
    palette.label = context.resolve(UIColor::labelColor());
    palette.secondary = context.resolve(UIColor::secondaryLabelColor());
    palette.tint = context.resolve(table.tintColor());
    // Switch rows hold no switch view: the tint comes from the proxy rule that a switch in this
    // table would take.
    auto onTint = std::dynamic_pointer_cast<UIColor>(AppearanceRegistry::shared().resolvedValue(
        objc_getClass("UISwitch"), containersOfRows(table), "onTintColor"));
    palette.switchTint = onTint ? context.resolve(onTint) : DrawingContext::rgb(0.204, 0.78, 0.349);
    return palette;
}

bool valuesMatch(const Value& lhs, const Value& rhs) {
    if (lhs.isNumber() && rhs.isNumber())
        return lhs.doubleValue() == rhs.doubleValue();
    return lhs == rhs;
}

const Value& listOf(const PSSpecifier& specifier, const Value& own, const char* key) {
    return own.isArray() ? own : specifier.properties()[key];
}

// The title a list row shows for its stored value; -1 index for none.
long selectedIndex(PSListController& page, const std::shared_ptr<PSSpecifier>& specifier) {
    const Value& values = listOf(*specifier, specifier->values(), "validValues");
    if (!values.isArray())
        return -1;
    Value current = page.readPreferenceValue(specifier);
    const auto& array = values.asArray();
    for (std::size_t index = 0; index < array.size(); ++index)
        if (valuesMatch(array[index], current))
            return static_cast<long>(index);
    return -1;
}

std::vector<std::string> titlesOf(const PSSpecifier& specifier) {
    std::vector<std::string> titles;
    const Value& list = listOf(specifier, specifier.titles(), "validTitles");
    if (list.isArray())
        for (const auto& title : list.asArray())
            titles.push_back(title.stringValue());
    return titles;
}

CGFloat centredTop(CGRect row, CGFloat height) {
    return row.origin.y + (row.size.height - height) / 2;
}

void paintLabel(const DrawingContext& context, const std::string& text, CGRect row, CGFloat rightEdge,
                const DrawColor& color) {
    TextPainter::Style style{UIFont::systemFontOfSize(17), color, NSTextAlignmentLeft, 1};
    CGFloat width = std::max<CGFloat>(0, rightEdge - row.origin.x - textInset);
    CGFloat height = TextPainter::measureHeight(text, width, style);
    TextPainter::paintText(context, text,
                           {{row.origin.x + textInset, centredTop(row, height)}, {width, height}}, style);
}

void paintTrailingText(const DrawingContext& context, const std::string& text, CGRect row, CGFloat rightEdge,
                       const DrawColor& color) {
    TextPainter::Style style{UIFont::systemFontOfSize(17), color, NSTextAlignmentRight, 1};
    CGFloat width = std::max<CGFloat>(0, (rightEdge - row.origin.x) * 0.6);
    CGFloat height = TextPainter::measureHeight(text, width, style);
    TextPainter::paintText(context, text, {{rightEdge - width, centredTop(row, height)}, {width, height}},
                           style);
}

void paintRowContent(const DrawingContext& context, PSListController& page, const GroupedListLayout::Row& row,
                     const RowPalette& palette) {
    const auto& specifier = row.specifier;
    const auto& cell = row.cell;
    CGRect frame = row.frame;
    CGFloat right = CGRectGetMaxX(frame) - textInset;
    std::string text = cell ? cell->text() : (specifier ? specifier->name() : std::string());
    PSCellType type = specifier ? specifier->cellType() : PSDefaultCell;
    bool hasOwnAccessory = cell && cell->accessoryView();
    bool chevron = cell ? cell->accessoryType() == UITableViewCellAccessoryDisclosureIndicator
                        : (type == PSLinkCell || type == PSLinkListCell);
    if (chevron && !hasOwnAccessory) {
        ControlPainter::paintChevron(context, right, CGRectGetMidY(frame));
        right -= 6 + 12;
    }
    switch (type) {
    case PSSwitchCell:
        if (!hasOwnAccessory) {
            bool on = page.readPreferenceValue(specifier).boolValue();
            CGPoint origin{right - ControlPainter::switchSize.width,
                           centredTop(frame, ControlPainter::switchSize.height)};
            ControlPainter::paintSwitch(context, origin, on, palette.switchTint);
            right = origin.x - 8;
        }
        break;
    case PSSliderCell: {
        double minimum =
            specifier->properties()["min"].isNumber() ? specifier->properties()["min"].doubleValue() : 0;
        double maximum =
            specifier->properties()["max"].isNumber() ? specifier->properties()["max"].doubleValue() : 1;
        double value = page.readPreferenceValue(specifier).doubleValue();
        double fraction = maximum > minimum ? (value - minimum) / (maximum - minimum) : 0;
        ControlPainter::paintSlider(context,
                                    {{frame.origin.x + textInset, frame.origin.y},
                                     {frame.size.width - 2 * textInset, frame.size.height}},
                                    fraction, palette.tint);
        return;
    }
    case PSSegmentCell:
        ControlPainter::paintSegments(
            context, CGRectInset(frame, textInset, std::max<CGFloat>(0, (frame.size.height - 32) / 2)),
            titlesOf(*specifier), selectedIndex(page, specifier));
        return;
    case PSSpinnerCell:
        ControlPainter::paintSpinner(context, {right - 10, CGRectGetMidY(frame)}, 10, palette.secondary);
        right -= 28;
        break;
    case PSLinkListCell:
    case PSTitleValueCell: {
        std::string value = cell ? cell->detailText() : std::string();
        if (value.empty()) {
            long index = selectedIndex(page, specifier);
            auto titles = titlesOf(*specifier);
            if (index >= 0 && index < static_cast<long>(titles.size()))
                value = titles[static_cast<std::size_t>(index)];
            else if (type == PSTitleValueCell)
                value = page.readPreferenceValue(specifier).stringValue();
        }
        if (!value.empty())
            paintTrailingText(context, value, frame, right, palette.secondary);
        break;
    }
    default:
        break;
    }
    paintLabel(context, text, frame, right, type == PSButtonCell ? palette.tint : palette.label);
}

void paintCellViews(ViewPainter& painter, UITableViewCell& cell, CGRect row) {
    if (cell.subviews().empty() && !cell.backgroundColor())
        return;
    cairo_t* cr = painter.context().cairo();
    SavedState saved(cr);
    cairo_rectangle(cr, row.origin.x, row.origin.y, row.size.width, row.size.height);
    cairo_clip(cr);
    cairo_translate(cr, row.origin.x - cell.bounds().origin.x, row.origin.y - cell.bounds().origin.y);
    // The cell's own look over the card, but not its full-width rectangle's corners.
    painter.paintInOwnSpace(cell, cell.alpha());
}

} // namespace

void GroupedListPainter::paint(UITableView& table, PSListController& page, ViewPainter& painter) {
    const DrawingContext& context = painter.context();
    CGRect bounds = table.bounds();
    context.fillRect(bounds, context.resolve(UIColor::systemGroupedBackgroundColor()));
    bool regular =
        context.traits() && context.traits()->horizontalSizeClass() == UIUserInterfaceSizeClass::Regular;
    auto layout = GroupedListLayout::make(page, table, bounds.size.width, regular);
    RowPalette palette = paletteFor(context, table);
    TextPainter::Style small{UIFont::systemFontOfSize(13), palette.secondary, NSTextAlignmentLeft, 0};

    for (const auto& section : layout.sections) {
        if (section.header)
            TextPainter::paintText(context, *section.header, section.headerFrame, small);
        if (!CGRectIsNull(section.card))
            context.fillRect(section.card, palette.card, cardRadius);
        for (const auto& row : section.rows) {
            if (!CGRectIntersectsRect(row.frame, bounds))
                continue;
            cairo_t* cr = context.cairo();
            {
                SavedState clipped(cr);
                context.roundedRect(row.frame, cardRadius, row.firstInCard, row.lastInCard);
                cairo_clip(cr);
                if (row.cell)
                    paintCellViews(painter, *row.cell, row.frame);
                paintRowContent(context, page, row, palette);
            }
            if (!row.lastInCard)
                context.fillRect({{row.frame.origin.x + textInset, CGRectGetMaxY(row.frame) - hairline},
                                  {row.frame.size.width - textInset, hairline}},
                                 palette.separator);
        }
        if (section.footer)
            TextPainter::paintText(context, *section.footer, section.footerFrame, small);
    }

    // Views the page put on the table itself (not rows) go on top.
    for (const auto& subview : table.subviews())
        if (subview && !std::dynamic_pointer_cast<UITableViewCell>(subview))
            painter.paintPlaced(*subview);
}

} // namespace platform::render
