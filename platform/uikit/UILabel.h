#pragma once

#include <memory>
#include <string>

#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/NSTextAlignment.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIView.h"

namespace platform {
class TextLayout;
}

// A view of read-only text: plain text in one font and colour, or attributed text whose runs carry
// their own fonts, colours and kerning (the label's font and colour fill in where a run has none).
//
// Its intrinsic content size is the text measured with Pango, rounded up to whole points. A label of
// one line measures its whole text; one of several lines wraps at preferredMaxLayoutWidth, or, when
// that is 0, at the width layout last gave it (the label asks for a second pass when that width
// changes). With adjustsFontSizeToFitWidth a one-line label that is too narrow draws its text smaller,
// down to minimumScaleFactor of its size (0: never smaller).
class UILabel : public UIView {
public:
    static constexpr platform::RegisteredName<UILabel> registeredName{"UILabel"};
    UILabel();

    const std::string& text() const { return m_text; }
    // Plain text: any attributed text is replaced.
    void setText(std::string text);
    // The attributed text set, or the plain text with the label's font and colour.
    NSAttributedStringPtr attributedText() const;
    void setAttributedText(const NSAttributedStringPtr& text);
    // System font of 17 points by default; nil restores it. Applies to all of an attributed text.
    const UIFontPtr& font() const { return m_font; }
    void setFont(const UIFontPtr& font);
    // The label colour by default; nil restores it. Applies to all of an attributed text.
    const UIColorPtr& textColor() const { return m_textColor; }
    void setTextColor(const UIColorPtr& color);
    void setTextAlignment(NSTextAlignment alignment) { m_alignment = alignment; }
    // 1 by default; 0 for any number of lines.
    void setNumberOfLines(long lines);
    bool adjustsFontSizeToFitWidth() const { return m_adjustsFontSize; }
    void setAdjustsFontSizeToFitWidth(bool adjusts) { m_adjustsFontSize = adjusts; }
    CGFloat minimumScaleFactor() const { return m_minimumScaleFactor; }
    void setMinimumScaleFactor(CGFloat factor);
    CGFloat preferredMaxLayoutWidth() const { return m_preferredMaxLayoutWidth; }
    void setPreferredMaxLayoutWidth(CGFloat width);

    CGSize intrinsicContentSize() const override;
    // The text's size within `size`'s width (for labels of several lines), rounded up.
    CGSize sizeThatFits(CGSize size) const override;
    void layoutSubviews() override;

    // The scale the font is drawn at in the current bounds (1 unless shrinking to fit).
    CGFloat _fontScaleToFit() const;
    // The text laid out as it is drawn in the current bounds.
    std::unique_ptr<platform::TextLayout> _makeTextLayout() const;

private:
    CGSize measure(CGFloat maximumWidth, CGFloat fontScale) const;
    void textDidChange();

    std::string m_text;
    NSAttributedStringPtr m_attributedText;
    UIFontPtr m_font;
    UIColorPtr m_textColor;
    NSTextAlignment m_alignment = NSTextAlignmentNatural;
    long m_numberOfLines = 1;
    CGFloat m_minimumScaleFactor = 0;
    CGFloat m_preferredMaxLayoutWidth = 0;
    CGFloat m_layoutWidth = 0;
    bool m_adjustsFontSize = false;
};

using UILabelPtr = std::shared_ptr<UILabel>;
