#include <gtest/gtest.h>

#include <cmath>

#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/NSLayoutDimension.h"
#include "platform/uikit/NSLayoutXAxisAnchor.h"
#include "platform/uikit/NSLayoutYAxisAnchor.h"
#include "platform/uikit/NSMutableAttributedString.h"
#include "platform/uikit/TextLayout.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UILabel.h"

namespace {

std::shared_ptr<UILabel> labelWithText(const std::string& text, UIFontPtr font = nullptr) {
    auto label = std::make_shared<UILabel>();
    if (font)
        label->setFont(font);
    label->setText(text);
    return label;
}

TEST(UIFont, SystemAndTextStyleFontsResolveToTheSystemFamily) {
    auto medium = UIFont::systemFontOfSize(15, UIFontWeightMedium);
    EXPECT_EQ(medium->pointSize(), 15);
    EXPECT_EQ(medium->_numericWeight(), 500);
    EXPECT_EQ(UIFont::boldSystemFontOfSize(10)->_numericWeight(), 700);
    EXPECT_EQ(UIFont::systemFontOfSize(10, (UIFontWeightMedium + UIFontWeightSemibold) / 2)->_numericWeight(),
              550);
    EXPECT_EQ(UIFont::preferredFontForTextStyle(UIFontTextStyleCaption2)->pointSize(), 11);
    EXPECT_EQ(UIFont::preferredFontForTextStyle(UIFontTextStyleHeadline)->_numericWeight(), 600);
    EXPECT_EQ(UIFont::preferredFontForTextStyle("no such style")->pointSize(), 17);

    std::string family = medium->familyName();
    EXPECT_TRUE(family == "Inter" || family == "DejaVu Sans") << family;
    // Metrics are the font's: a line is taller than the size and scales with it.
    CGFloat line = UIFont::systemFontOfSize(20)->lineHeight();
    EXPECT_GT(line, 20);
    EXPECT_LT(line, 30);
    EXPECT_NEAR(UIFont::systemFontOfSize(40)->lineHeight(), 2 * line, 0.5);
    EXPECT_LT(UIFont::systemFontOfSize(20)->descender(), 0);
}

TEST(NSAttributedString, RunsSplitMergeAndCountUtf16Units) {
    NSMutableAttributedString text("héllo 👋!", {{std::string(NSKernAttributeName), 1.0}});
    EXPECT_EQ(text.length(), 9u) << "é is one unit, the emoji two";

    auto font = UIFont::systemFontOfSize(10);
    text.addAttribute(NSFontAttributeName, font, NSMakeRange(2, 3));
    ASSERT_EQ(text._runs().size(), 3u);
    NSRange range;
    auto attributes = text.attributesAtIndex(3, &range);
    EXPECT_EQ(range, NSMakeRange(2, 3));
    EXPECT_EQ(NSAttributedString::fontIn(attributes), font);
    EXPECT_EQ(NSAttributedString::numberIn(attributes, NSKernAttributeName, 0), 1.0);

    // Removing the font again makes the runs equal, and they merge back into one.
    text.removeAttribute(NSFontAttributeName, NSMakeRange(0, 100));
    EXPECT_EQ(text._runs().size(), 1u);

    text.appendAttributedString(NSAttributedString("\n\nfooter", {{std::string(NSFontAttributeName), font}}));
    EXPECT_EQ(text.string(), "héllo 👋!\n\nfooter");
    EXPECT_EQ(text.length(), 17u);
    EXPECT_EQ(NSAttributedString::fontIn(text.attributesAtIndex(10)), font);
    EXPECT_TRUE(text.attributesAtIndex(17).empty());

    NSMutableAttributedString same("héllo 👋!", {{std::string(NSKernAttributeName), 1.0}});
    same.appendAttributedString(
        NSAttributedString("\n\nfooter", {{std::string(NSFontAttributeName), UIFont::systemFontOfSize(10)}}));
    EXPECT_TRUE(same.isEqualToAttributedString(text))
        << "equal fonts compare equal, not just the same object";
}

TEST(UILabel, MeasuresTextWithItsFontsAndKerning) {
    auto small = labelWithText("Corvale settings", UIFont::systemFontOfSize(11));
    auto large = labelWithText("Corvale settings", UIFont::systemFontOfSize(22));
    CGSize smallSize = small->intrinsicContentSize();
    CGSize largeSize = large->intrinsicContentSize();
    EXPECT_GT(smallSize.width, 40);
    EXPECT_NEAR(largeSize.width, 2 * smallSize.width, 2);
    EXPECT_EQ(smallSize.height, std::ceil(UIFont::systemFontOfSize(11)->lineHeight() - 1e-9));
    EXPECT_EQ(smallSize.width, std::floor(smallSize.width)) << "rounded up to whole points";

    auto heavier = labelWithText("Corvale settings", UIFont::systemFontOfSize(11, UIFontWeightBold));
    if (UIFont::systemFontOfSize(11)->familyName() == "Inter") {
        EXPECT_GT(heavier->intrinsicContentSize().width, smallSize.width);
    }

    // Attributed runs carry their own font and kerning: 0.9 points after each of the 14 letters.
    auto role = std::make_shared<UILabel>();
    role->setText("LEAD DEVELOPER");
    auto font = UIFont::systemFontOfSize(10, UIFontWeightBold);
    role->setAttributedText(std::make_shared<NSAttributedString>(
        "LEAD DEVELOPER",
        NSAttributes{{std::string(NSFontAttributeName), font},
                     {std::string(NSKernAttributeName), 0.9},
                     {std::string(NSForegroundColorAttributeName), UIColor::colorWithWhite(0.6, 1)}}));
    EXPECT_EQ(role->text(), "LEAD DEVELOPER");
    auto plain = labelWithText("LEAD DEVELOPER", font);
    CGFloat extra = role->intrinsicContentSize().width - plain->intrinsicContentSize().width;
    EXPECT_NEAR(extra, 14 * 0.9, 2.0);

    EXPECT_EQ(labelWithText("")->intrinsicContentSize(), CGSizeZero);
}

TEST(UILabel, WrapsAtItsWidthAndLimitsItsLines) {
    std::string words = "A long line of words that cannot possibly fit in one hundred points of width";
    auto label = labelWithText(words, UIFont::systemFontOfSize(13));
    CGFloat oneLine = label->intrinsicContentSize().height;

    label->setNumberOfLines(0);
    label->setPreferredMaxLayoutWidth(100);
    CGSize wrapped = label->intrinsicContentSize();
    EXPECT_LE(wrapped.width, 100);
    EXPECT_GE(wrapped.height, 4 * oneLine - 4);

    label->setNumberOfLines(2);
    EXPECT_NEAR(label->intrinsicContentSize().height, 2 * oneLine, 2);
    EXPECT_NEAR(label->sizeThatFits(CGSizeMake(100, 1000)).height, 2 * oneLine, 2);
}

TEST(UILabel, AMultiLineLabelUnderConstraintsWrapsAtTheWidthItIsGiven) {
    auto root = std::make_shared<UIView>();
    root->setFrame(CGRectMake(0, 0, 120, 500));
    auto label =
        labelWithText("Several words that will need a few lines at this width", UIFont::systemFontOfSize(13));
    label->setNumberOfLines(0);
    label->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(label);
    NSLayoutConstraint::activateConstraints(
        {label->leadingAnchor()->constraintEqualToAnchor(root->leadingAnchor()),
         label->trailingAnchor()->constraintEqualToAnchor(root->trailingAnchor()),
         label->topAnchor()->constraintEqualToAnchor(root->topAnchor())});
    root->layoutIfNeeded();
    EXPECT_EQ(label->frame().size.width, 120);
    label->setPreferredMaxLayoutWidth(120);
    EXPECT_EQ(label->frame().size.height, label->intrinsicContentSize().height);
    EXPECT_GT(label->frame().size.height, 2 * std::ceil(UIFont::systemFontOfSize(13)->lineHeight()));
}

TEST(UILabel, ShrinksToFitDownToItsMinimumScale) {
    auto label = labelWithText("A title that is far too wide", UIFont::systemFontOfSize(20));
    CGFloat natural = label->intrinsicContentSize().width;
    label->setFrame(CGRectMake(0, 0, natural / 1.5, 30));
    EXPECT_EQ(label->_fontScaleToFit(), 1) << "only when asked to";

    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumScaleFactor(0.5);
    EXPECT_NEAR(label->_fontScaleToFit(), 1 / 1.5, 0.01);
    EXPECT_LE(label->_makeTextLayout()->size().width, natural / 1.5 + 1);

    label->setFrame(CGRectMake(0, 0, natural / 4, 30));
    EXPECT_EQ(label->_fontScaleToFit(), 0.5);
    label->setMinimumScaleFactor(0);
    EXPECT_EQ(label->_fontScaleToFit(), 1) << "no minimum means the font never shrinks";
    EXPECT_EQ(label->intrinsicContentSize().width, natural) << "the intrinsic size stays the full text";
}

TEST(UILabel, KernedTextAtItsOwnSizeIsDrawnWhole) {
    auto label = std::make_shared<UILabel>();
    for (const char* text : {"LEAD DEVELOPER", "INTERFACE DESIGN", "TESTING & SUPPORT"}) {
        NSAttributes attributes{
            {std::string(NSFontAttributeName), UIFont::systemFontOfSize(10, UIFontWeightBold)},
            {std::string(NSKernAttributeName), 0.9}};
        label->setAttributedText(std::make_shared<NSAttributedString>(text, attributes));
        CGSize size = label->intrinsicContentSize();
        label->setFrame(CGRectMake(0, 0, size.width, size.height));
        auto layout = label->_makeTextLayout();
        EXPECT_FALSE(layout->isTruncated()) << text << " at " << size.width;
    }
}

} // namespace
