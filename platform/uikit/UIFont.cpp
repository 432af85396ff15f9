#include "platform/uikit/UIFont.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <utility>

#include "platform/uikit/TextEngine.h"

namespace {

[[maybe_unused]] const Class registeredFont = platform::registerClass<UIFont>("UIFont");

struct TextStyleFont {
    UIFontTextStyle style;
    CGFloat size;
    UIFontWeight weight;
};

// The default ("large") content size category.
constexpr std::array<TextStyleFont, 11> kTextStyles{{
    {UIFontTextStyleLargeTitle, 34, UIFontWeightRegular},
    {UIFontTextStyleTitle1, 28, UIFontWeightRegular},
    {UIFontTextStyleTitle2, 22, UIFontWeightRegular},
    {UIFontTextStyleTitle3, 20, UIFontWeightRegular},
    {UIFontTextStyleHeadline, 17, UIFontWeightSemibold},
    {UIFontTextStyleBody, 17, UIFontWeightRegular},
    {UIFontTextStyleCallout, 16, UIFontWeightRegular},
    {UIFontTextStyleSubheadline, 15, UIFontWeightRegular},
    {UIFontTextStyleFootnote, 13, UIFontWeightRegular},
    {UIFontTextStyleCaption1, 12, UIFontWeightRegular},
    {UIFontTextStyleCaption2, 11, UIFontWeightRegular},
}};

// The platform's weights against the numeric weights fonts are made in.
constexpr std::array<std::pair<UIFontWeight, int>, 9> kNumericWeights{{
    {UIFontWeightUltraLight, 100},
    {UIFontWeightThin, 200},
    {UIFontWeightLight, 300},
    {UIFontWeightRegular, 400},
    {UIFontWeightMedium, 500},
    {UIFontWeightSemibold, 600},
    {UIFontWeightBold, 700},
    {UIFontWeightHeavy, 800},
    {UIFontWeightBlack, 900},
}};

} // namespace

UIFont::UIFont(CGFloat pointSize, UIFontWeight weight)
    : m_pointSize(std::isfinite(pointSize) && pointSize > 0 ? pointSize : 12),
      m_weight(std::isfinite(weight) ? std::clamp(weight, -1.0, 1.0) : UIFontWeightRegular) {}

std::shared_ptr<UIFont> UIFont::systemFontOfSize(CGFloat size) {
    return std::make_shared<UIFont>(size, UIFontWeightRegular);
}

std::shared_ptr<UIFont> UIFont::systemFontOfSize(CGFloat size, UIFontWeight weight) {
    return std::make_shared<UIFont>(size, weight);
}

std::shared_ptr<UIFont> UIFont::boldSystemFontOfSize(CGFloat size) {
    return std::make_shared<UIFont>(size, UIFontWeightBold);
}

std::shared_ptr<UIFont> UIFont::preferredFontForTextStyle(UIFontTextStyle style) {
    for (const auto& entry : kTextStyles)
        if (entry.style == style)
            return std::make_shared<UIFont>(entry.size, entry.weight);
    return std::make_shared<UIFont>(17, UIFontWeightRegular);
}

std::shared_ptr<UIFont> UIFont::fontWithSize(CGFloat size) const {
    return std::make_shared<UIFont>(size, m_weight);
}

std::string UIFont::familyName() const {
    return platform::TextEngine::shared().systemFamily();
}

CGFloat UIFont::descender() const {
    CGFloat ascent = 0, descent = 0;
    platform::TextEngine::shared().metrics(*this, ascent, descent);
    return -descent;
}

CGFloat UIFont::lineHeight() const {
    CGFloat ascent = 0, descent = 0;
    platform::TextEngine::shared().metrics(*this, ascent, descent);
    return ascent + descent;
}

// Between the named weights the numeric weight is interpolated, then rounded to a multiple of 10.
int UIFont::_numericWeight() const {
    if (m_weight <= kNumericWeights.front().first)
        return kNumericWeights.front().second;
    for (std::size_t index = 1; index < kNumericWeights.size(); ++index) {
        auto [upperWeight, upperNumber] = kNumericWeights[index];
        if (m_weight <= upperWeight) {
            auto [lowerWeight, lowerNumber] = kNumericWeights[index - 1];
            double fraction = (m_weight - lowerWeight) / (upperWeight - lowerWeight);
            return static_cast<int>(
                       std::lround((lowerNumber + fraction * (upperNumber - lowerNumber)) / 10.0)) *
                   10;
        }
    }
    return kNumericWeights.back().second;
}

std::string UIFont::description() const {
    char text[160];
    std::snprintf(text, sizeof text, "<UIFont: %p> font-family: \"%s\"; font-weight: %d; font-size: %.2fpt",
                  static_cast<const void*>(this), familyName().c_str(), _numericWeight(), m_pointSize);
    return text;
}
