#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/runtime/NSObject.h"
#include "platform/uikit/CGGeometry.h"

// Weights on the platform's scale: 0 is regular, negative lighter, positive heavier.
using UIFontWeight = double;
inline constexpr UIFontWeight UIFontWeightUltraLight = -0.8;
inline constexpr UIFontWeight UIFontWeightThin = -0.6;
inline constexpr UIFontWeight UIFontWeightLight = -0.4;
inline constexpr UIFontWeight UIFontWeightRegular = 0.0;
inline constexpr UIFontWeight UIFontWeightMedium = 0.23;
inline constexpr UIFontWeight UIFontWeightSemibold = 0.3;
inline constexpr UIFontWeight UIFontWeightBold = 0.4;
inline constexpr UIFontWeight UIFontWeightHeavy = 0.56;
inline constexpr UIFontWeight UIFontWeightBlack = 0.62;

using UIFontTextStyle = std::string_view;
inline constexpr UIFontTextStyle UIFontTextStyleLargeTitle = "UICTFontTextStyleTitle0";
inline constexpr UIFontTextStyle UIFontTextStyleTitle1 = "UICTFontTextStyleTitle1";
inline constexpr UIFontTextStyle UIFontTextStyleTitle2 = "UICTFontTextStyleTitle2";
inline constexpr UIFontTextStyle UIFontTextStyleTitle3 = "UICTFontTextStyleTitle3";
inline constexpr UIFontTextStyle UIFontTextStyleHeadline = "UICTFontTextStyleHeadline";
inline constexpr UIFontTextStyle UIFontTextStyleBody = "UICTFontTextStyleBody";
inline constexpr UIFontTextStyle UIFontTextStyleCallout = "UICTFontTextStyleCallout";
inline constexpr UIFontTextStyle UIFontTextStyleSubheadline = "UICTFontTextStyleSubhead";
inline constexpr UIFontTextStyle UIFontTextStyleFootnote = "UICTFontTextStyleFootnote";
inline constexpr UIFontTextStyle UIFontTextStyleCaption1 = "UICTFontTextStyleCaption1";
inline constexpr UIFontTextStyle UIFontTextStyleCaption2 = "UICTFontTextStyleCaption2";

// A font: the system family at a size and weight. The system family is Inter, or DejaVu Sans on a
// machine without Inter; metrics come from the font really used (Pango).
class UIFont : public NSObject {
public:
    static std::shared_ptr<UIFont> systemFontOfSize(CGFloat size);
    static std::shared_ptr<UIFont> systemFontOfSize(CGFloat size, UIFontWeight weight);
    static std::shared_ptr<UIFont> boldSystemFontOfSize(CGFloat size);
    // The sizes and weights of the default (large) text size; an unknown style gives the body font.
    static std::shared_ptr<UIFont> preferredFontForTextStyle(UIFontTextStyle style);

    // Public so std::make_shared can build one; use the class methods.
    UIFont(CGFloat pointSize, UIFontWeight weight);

    CGFloat pointSize() const { return m_pointSize; }
    UIFontWeight weight() const { return m_weight; }
    std::shared_ptr<UIFont> fontWithSize(CGFloat size) const;
    // "Inter" or "DejaVu Sans": the family the text engine resolves the system font to.
    std::string familyName() const;
    // Negative, as on the platform: below the baseline.
    CGFloat descender() const;
    CGFloat lineHeight() const;

    bool isEqual(const UIFont& other) const {
        return m_pointSize == other.m_pointSize && m_weight == other.m_weight;
    }
    std::string description() const override;

    // The CSS-style weight (100 to 900) the text engine asks for.
    int _numericWeight() const;

private:
    CGFloat m_pointSize;
    UIFontWeight m_weight;
};

using UIFontPtr = std::shared_ptr<UIFont>;
