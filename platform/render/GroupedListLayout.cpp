#include "platform/render/GroupedListLayout.h"

#include <algorithm>
#include <cctype>

#include "platform/preferences/PSListController.h"
#include "platform/render/TextPainter.h"
#include "platform/uikit/NSIndexPath.h"

namespace platform::render {

namespace {

constexpr CGFloat firstUntitledGap = 35;
constexpr CGFloat untitledGap = 20;
constexpr CGFloat headerTopGap = 17;
constexpr CGFloat headerToCard = 7;
constexpr CGFloat cardToFooter = 7;
constexpr CGFloat footerBottomGap = 20;
constexpr CGFloat textInset = 16;
constexpr CGFloat collapsedHeight = 1;
constexpr CGFloat regularCardWidth = 704;

std::string uppercased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

TextPainter::Style smallText() {
    return {UIFont::systemFontOfSize(13), {}, NSTextAlignmentLeft, 0};
}

} // namespace

CGFloat GroupedListLayout::cardInset(CGFloat width, bool regularWidth) {
    if (!regularWidth)
        return 16;
    return std::max<CGFloat>(20, (width - regularCardWidth) / 2);
}

GroupedListLayout GroupedListLayout::make(PSListController& page, UITableView& table, CGFloat width,
                                          bool regularWidth) {
    GroupedListLayout layout;
    auto tableView = table.selfAs<UITableView>();
    CGFloat inset = cardInset(width, regularWidth);
    CGFloat cardWidth = std::max<CGFloat>(0, width - 2 * inset);
    CGFloat textWidth = std::max<CGFloat>(0, cardWidth - 2 * textInset);
    CGFloat y = 0;
    long sectionCount = page.numberOfSectionsInTableView(tableView);
    for (long index = 0; index < sectionCount; ++index) {
        Section section;
        auto header = page.tableViewTitleForHeaderInSection(tableView, index);
        if (header && !header->empty()) {
            section.header = uppercased(*header);
            y += headerTopGap;
            CGFloat height = TextPainter::measureHeight(*section.header, textWidth, smallText());
            section.headerFrame = {{inset + textInset, y}, {textWidth, height}};
            y += height + headerToCard;
        } else {
            y += index == 0 ? firstUntitledGap : untitledGap;
        }
        CGFloat cardTop = y;
        long rowCount = page.tableViewNumberOfRowsInSection(tableView, index);
        for (long row = 0; row < rowCount; ++row) {
            auto indexPath = NSIndexPath::indexPathForRow(row, index);
            CGFloat height = page.tableViewHeightForRowAtIndexPath(tableView, indexPath);
            if (!(height >= collapsedHeight))
                continue;
            Row placed;
            placed.specifier = page.specifierAtIndexPath(indexPath);
            placed.cell = table.cellForRowAtIndexPath(indexPath);
            placed.frame = {{inset, y}, {cardWidth, height}};
            y += height;
            section.rows.push_back(std::move(placed));
        }
        if (!section.rows.empty()) {
            section.rows.front().firstInCard = true;
            section.rows.back().lastInCard = true;
            section.card = {{inset, cardTop}, {cardWidth, y - cardTop}};
        }
        auto footer = page.tableViewTitleForFooterInSection(tableView, index);
        if (footer && !footer->empty()) {
            section.footer = *footer;
            y += cardToFooter;
            CGFloat height = TextPainter::measureHeight(*footer, textWidth, smallText());
            section.footerFrame = {{inset + textInset, y}, {textWidth, height}};
            y += height;
        }
        layout.sections.push_back(std::move(section));
    }
    layout.contentHeight = y + footerBottomGap;
    return layout;
}

} // namespace platform::render
