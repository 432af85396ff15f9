#include "platform/uikit/GroupedTableLayout.h"

#include <algorithm>
#include <cctype>

#include "platform/foundation/UnicodeCase.h"
#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/TextEngine.h"
#include "platform/uikit/TextLayout.h"
#include "platform/uikit/UIFont.h"

namespace platform {

namespace {

constexpr CGFloat firstUntitledGap = 35;
constexpr CGFloat untitledGap = 20;
constexpr CGFloat headerTopGap = 17;
constexpr CGFloat headerToCard = 7;
constexpr CGFloat cardToFooter = 7;
constexpr CGFloat footerBottomGap = 20;
constexpr CGFloat regularCardWidth = 704;

CGFloat textHeight(const std::string& text, CGFloat width) {
    auto guard = TextEngine::shared().lock();
    TextLayoutRequest request;
    request.maximumWidth = width;
    TextLayout layout(NSAttributedString(text), *UIFont::systemFontOfSize(GroupedTableLayout::headerFontSize),
                      nullptr, request);
    return layout.size().height;
}

} // namespace

CGFloat GroupedTableLayout::cardInset(CGFloat width, bool regularWidth) {
    if (!regularWidth)
        return 16;
    return std::max<CGFloat>(20, (width - regularCardWidth) / 2);
}

GroupedTableLayout GroupedTableLayout::make(const std::vector<SectionInput>& input, CGFloat width,
                                            bool regularWidth) {
    GroupedTableLayout layout;
    CGFloat inset = cardInset(width, regularWidth);
    CGFloat cardWidth = std::max<CGFloat>(0, width - 2 * inset);
    CGFloat textWidth = std::max<CGFloat>(0, cardWidth - 2 * textInset);
    CGFloat y = 0;
    for (std::size_t index = 0; index < input.size(); ++index) {
        const auto& given = input[index];
        Section section;
        if (given.header && !given.header->empty()) {
            section.header = platform::uppercaseString(*given.header);
            y += headerTopGap;
            CGFloat height = textHeight(*section.header, textWidth);
            section.headerFrame = {{inset + textInset, y}, {textWidth, height}};
            y += height + headerToCard;
        } else {
            y += index == 0 ? firstUntitledGap : untitledGap;
        }
        CGFloat cardTop = y;
        for (CGFloat height : given.rowHeights) {
            CGFloat shown = isCollapsed(height) ? 0 : height;
            section.rows.push_back({{inset, y}, {cardWidth, shown}});
            y += shown;
        }
        if (y > cardTop)
            section.card = {{inset, cardTop}, {cardWidth, y - cardTop}};
        if (given.footer && !given.footer->empty()) {
            section.footer = *given.footer;
            section.footerAlignment = given.footerAlignment;
            y += cardToFooter;
            CGFloat height = textHeight(*given.footer, textWidth);
            section.footerFrame = {{inset + textInset, y}, {textWidth, height}};
            y += height;
        }
        layout.sections.push_back(std::move(section));
    }
    layout.contentHeight = y + footerBottomGap;
    return layout;
}

} // namespace platform
