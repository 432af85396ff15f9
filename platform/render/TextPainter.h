#pragma once

#include <string>

#include "platform/render/DrawingContext.h"
#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/NSTextAlignment.h"
#include "platform/uikit/UIFont.h"

class UILabel;

namespace platform::render {

// Text through Pango: labels as they lay themselves out, and the plain strings the painters of
// bars, lists and alerts place themselves.
class TextPainter {
public:
    // The label's text, centred vertically in its bounds as UILabel draws it.
    static void paintLabel(const DrawingContext& context, const UILabel& label);

    struct Style {
        UIFontPtr font;
        DrawColor color;
        NSTextAlignment alignment = NSTextAlignmentLeft;
        // Wraps at the width of the box; 0 for any number of lines, else the last is truncated.
        long maximumLines = 1;
    };
    // Draws `text` in `box` (top-aligned); returns the height the text took.
    static CGFloat paintText(const DrawingContext& context, const std::string& text, CGRect box,
                             const Style& style);
    static CGFloat paintAttributedText(const DrawingContext& context, const NSAttributedString& text,
                                       CGRect box, const Style& style);
    // The height `text` would take in a box of `width`.
    static CGFloat measureHeight(const std::string& text, CGFloat width, const Style& style);
    static CGFloat measureWidth(const std::string& text, const Style& style);
};

} // namespace platform::render
