#include "platform/uikit/UILabel.h"

#include <algorithm>
#include <cmath>

#include "platform/uikit/NSMutableAttributedString.h"
#include "platform/uikit/TextLayout.h"

namespace {

[[maybe_unused]] const Class registeredLabel = platform::registerClass<UILabel, UIView>();

constexpr CGFloat kDefaultFontSize = 17;

} // namespace

UILabel::UILabel() : m_font(UIFont::systemFontOfSize(kDefaultFontSize)), m_textColor(UIColor::labelColor()) {
    setUserInteractionEnabled(false);
}

void UILabel::setText(std::string text) {
    if (text == m_text && !m_attributedText)
        return;
    m_text = std::move(text);
    m_attributedText.reset();
    textDidChange();
}

NSAttributedStringPtr UILabel::attributedText() const {
    if (m_attributedText)
        return m_attributedText;
    return std::make_shared<NSAttributedString>(
        m_text, NSAttributes{{std::string(NSFontAttributeName), m_font},
                             {std::string(NSForegroundColorAttributeName), m_textColor}});
}

void UILabel::setAttributedText(const NSAttributedStringPtr& text) {
    m_attributedText = text && text->length() > 0 ? std::make_shared<NSAttributedString>(*text) : nullptr;
    m_text = text ? text->string() : std::string();
    textDidChange();
}

void UILabel::setFont(const UIFontPtr& font) {
    m_font = font ? font : UIFont::systemFontOfSize(kDefaultFontSize);
    if (m_attributedText) {
        auto changed = std::make_shared<NSMutableAttributedString>(*m_attributedText);
        changed->addAttribute(NSFontAttributeName, m_font, NSMakeRange(0, changed->length()));
        m_attributedText = changed;
    }
    textDidChange();
}

void UILabel::setTextColor(const UIColorPtr& color) {
    m_textColor = color ? color : UIColor::labelColor();
    if (m_attributedText) {
        auto changed = std::make_shared<NSMutableAttributedString>(*m_attributedText);
        changed->addAttribute(NSForegroundColorAttributeName, m_textColor, NSMakeRange(0, changed->length()));
        m_attributedText = changed;
    }
}

void UILabel::setNumberOfLines(long lines) {
    lines = std::max(lines, 0L);
    if (lines == m_numberOfLines)
        return;
    m_numberOfLines = lines;
    textDidChange();
}

void UILabel::setMinimumScaleFactor(CGFloat factor) {
    m_minimumScaleFactor = std::isfinite(factor) ? std::clamp(factor, 0.0, 1.0) : 0.0;
}

void UILabel::setPreferredMaxLayoutWidth(CGFloat width) {
    width = std::isfinite(width) && width > 0 ? width : 0;
    if (width == m_preferredMaxLayoutWidth)
        return;
    m_preferredMaxLayoutWidth = width;
    textDidChange();
}

void UILabel::textDidChange() {
    invalidateIntrinsicContentSize();
    setNeedsLayout();
}

CGSize UILabel::measure(CGFloat maximumWidth, CGFloat fontScale) const {
    if (m_text.empty())
        return CGSizeZero;
    auto text = attributedText();
    platform::TextLayoutRequest request;
    request.maximumWidth = m_numberOfLines == 1 ? 0 : maximumWidth;
    request.maximumLines = m_numberOfLines;
    request.alignment = m_alignment;
    request.fontScale = fontScale;
    CGSize size = platform::TextLayout(*text, *m_font, m_textColor, request).size();
    // Rounded up, so that text is never cut by a fraction of a point.
    return {std::ceil(size.width - 1e-9), std::ceil(size.height - 1e-9)};
}

CGSize UILabel::intrinsicContentSize() const {
    CGFloat width = m_preferredMaxLayoutWidth > 0 ? m_preferredMaxLayoutWidth : m_layoutWidth;
    return measure(width, 1);
}

CGSize UILabel::sizeThatFits(CGSize size) const {
    return measure(size.width, 1);
}

void UILabel::layoutSubviews() {
    UIView::layoutSubviews();
    // A label of several lines measures itself again at the width it was given.
    if (m_numberOfLines != 1 && m_preferredMaxLayoutWidth == 0 && bounds().size.width != m_layoutWidth) {
        m_layoutWidth = bounds().size.width;
        invalidateIntrinsicContentSize();
    }
}

CGFloat UILabel::_fontScaleToFit() const {
    if (!m_adjustsFontSize || m_numberOfLines != 1 || m_text.empty())
        return 1;
    CGFloat natural = measure(0, 1).width;
    CGFloat available = bounds().size.width;
    if (natural <= available || natural <= 0)
        return 1;
    CGFloat minimum = m_minimumScaleFactor > 0 ? m_minimumScaleFactor : 1;
    return std::max(available / natural, minimum);
}

std::unique_ptr<platform::TextLayout> UILabel::_makeTextLayout() const {
    platform::TextLayoutRequest request;
    request.maximumWidth = bounds().size.width;
    request.maximumLines = m_numberOfLines;
    request.alignment = m_alignment;
    request.fontScale = _fontScaleToFit();
    return std::make_unique<platform::TextLayout>(*attributedText(), *m_font, m_textColor, request);
}
