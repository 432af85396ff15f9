#include <gtest/gtest.h>

#include <cmath>

#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/NSLayoutDimension.h"
#include "platform/uikit/NSLayoutXAxisAnchor.h"
#include "platform/uikit/NSLayoutYAxisAnchor.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIStackView.h"

namespace {

std::shared_ptr<UILabel> label(const std::string& text, const UIFontPtr& font) {
    auto label = std::make_shared<UILabel>();
    label->setFont(font);
    label->setText(text);
    return label;
}

CGFloat lineHeight(const UIFontPtr& font) {
    return std::ceil(font->lineHeight() - 1e-9);
}

// A two-line title block, centred vertically in a 44-point bar and pinned to its sides.
struct TitleBlock {
    std::shared_ptr<UIView> bar = std::make_shared<UIView>();
    UIFontPtr titleFont = UIFont::systemFontOfSize(15, UIFontWeightMedium);
    UIFontPtr subtitleFont = UIFont::systemFontOfSize(11);
    std::shared_ptr<UILabel> title = label("Corvale", titleFont);
    std::shared_ptr<UILabel> subtitle = label("Version 2.1", subtitleFont);
    std::shared_ptr<UIStackView> stack = std::make_shared<UIStackView>();

    TitleBlock() {
        bar->setFrame(CGRectMake(0, 0, 200, 44));
        stack->initWithArrangedSubviews({title, subtitle});
        stack->setAxis(UILayoutConstraintAxisVertical);
        stack->setSpacing(1);
        stack->setTranslatesAutoresizingMaskIntoConstraints(false);
        bar->addSubview(stack);
        NSLayoutConstraint::activateConstraints(
            {stack->centerYAnchor()->constraintEqualToAnchor(bar->centerYAnchor()),
             stack->leftAnchor()->constraintEqualToAnchor(bar->leftAnchor()),
             stack->rightAnchor()->constraintEqualToAnchor(bar->rightAnchor())});
    }
};

TEST(UIStackView, AColumnOfLabelsIsAsHighAsTheirFontsAndHiddenOnesTakeNoRoom) {
    TitleBlock block;
    block.bar->layoutIfNeeded();
    CGFloat titleHeight = lineHeight(block.titleFont), subtitleHeight = lineHeight(block.subtitleFont);
    CGFloat height = titleHeight + 1 + subtitleHeight;
    EXPECT_EQ(block.stack->frame(), CGRectMake(0, (44 - height) / 2, 200, height));
    EXPECT_EQ(block.title->frame(), CGRectMake(0, 0, 200, titleHeight)) << "fill alignment stretches across";
    EXPECT_EQ(block.subtitle->frame(), CGRectMake(0, titleHeight + 1, 200, subtitleHeight));

    block.subtitle->setHidden(true);
    block.bar->layoutIfNeeded();
    EXPECT_EQ(block.stack->frame(), CGRectMake(0, (44 - titleHeight) / 2, 200, titleHeight))
        << "the title alone sits at the centre";

    block.subtitle->setHidden(false);
    block.bar->layoutIfNeeded();
    EXPECT_EQ(block.stack->frame().size.height, height);

    // Taking a view out of the stack view removes it from the arrangement as well.
    block.title->removeFromSuperview();
    EXPECT_EQ(block.stack->arrangedSubviews().size(), 1u);
    block.bar->layoutIfNeeded();
    EXPECT_EQ(block.subtitle->frame().origin.y, 0);
}

TEST(UIStackView, AlignmentsPlaceViewsAcrossTheAxis) {
    auto root = std::make_shared<UIView>();
    root->setFrame(CGRectMake(0, 0, 300, 300));
    auto role = label("LEAD DEVELOPER", UIFont::systemFontOfSize(10, UIFontWeightBold));
    auto name = label("A considerably longer name", UIFont::systemFontOfSize(16, UIFontWeightMedium));
    auto stack = std::make_shared<UIStackView>();
    stack->initWithArrangedSubviews({role, name});
    stack->setAxis(UILayoutConstraintAxisVertical);
    stack->setSpacing(2);
    stack->setAlignment(UIStackViewAlignmentLeading);
    stack->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(stack);
    NSLayoutConstraint::activateConstraints(
        {stack->leadingAnchor()->constraintEqualToAnchor(root->leadingAnchor()),
         stack->topAnchor()->constraintEqualToAnchor(root->topAnchor())});
    root->layoutIfNeeded();
    CGFloat nameWidth = name->intrinsicContentSize().width;
    EXPECT_EQ(stack->frame().size.width, nameWidth) << "as wide as the widest";
    EXPECT_EQ(role->frame().origin.x, 0);
    EXPECT_EQ(role->frame().size.width, role->intrinsicContentSize().width);

    stack->setAlignment(UIStackViewAlignmentTrailing);
    root->layoutIfNeeded();
    EXPECT_EQ(CGRectGetMaxX(role->frame()), nameWidth);
    stack->setAlignment(UIStackViewAlignmentCenter);
    root->layoutIfNeeded();
    EXPECT_NEAR(CGRectGetMidX(role->frame()), nameWidth / 2, 1e-9);
}

TEST(UIStackView, AButtonRowInAScrollViewGivesItsContentSize) {
    auto container = std::make_shared<UIView>();
    container->setFrame(CGRectMake(0, 0, 60, 20));
    auto scroller = std::make_shared<UIScrollView>();
    scroller->setTranslatesAutoresizingMaskIntoConstraints(false);
    container->addSubview(scroller);
    auto row = std::make_shared<UIStackView>();
    row->setAlignment(UIStackViewAlignmentTop);
    row->setSpacing(10);
    row->setTranslatesAutoresizingMaskIntoConstraints(false);
    scroller->addSubview(row);
    NSLayoutConstraint::activateConstraints(
        {scroller->leadingAnchor()->constraintEqualToAnchor(container->leadingAnchor()),
         scroller->trailingAnchor()->constraintEqualToAnchor(container->trailingAnchor()),
         scroller->topAnchor()->constraintEqualToAnchor(container->topAnchor()),
         scroller->heightAnchor()->constraintEqualToConstant(20),
         row->leadingAnchor()->constraintEqualToAnchor(scroller->leadingAnchor()),
         row->trailingAnchor()->constraintEqualToAnchor(scroller->trailingAnchor()),
         row->topAnchor()->constraintEqualToAnchor(scroller->topAnchor()),
         row->bottomAnchor()->constraintEqualToAnchor(scroller->bottomAnchor()),
         row->heightAnchor()->constraintEqualToAnchor(scroller->heightAnchor())});
    container->layoutIfNeeded();
    EXPECT_EQ(scroller->frame(), CGRectMake(0, 0, 60, 20));
    EXPECT_EQ(scroller->contentSize(), CGSizeMake(0, 20)) << "an empty row still lays out";

    std::vector<std::shared_ptr<UIButton>> buttons;
    for (int index = 0; index < 4; ++index) {
        auto button = UIButton::buttonWithType(UIButtonType::System);
        button->setTag(index);
        row->addArrangedSubview(button);
        NSLayoutConstraint::activateConstraints(
            {button->heightAnchor()->constraintEqualToConstant(20),
             button->widthAnchor()->constraintEqualToAnchor(button->heightAnchor())});
        buttons.push_back(button);
    }
    container->layoutIfNeeded();
    EXPECT_EQ(buttons[0]->frame(), CGRectMake(0, 0, 20, 20));
    EXPECT_EQ(buttons[1]->frame(), CGRectMake(30, 0, 20, 20));
    EXPECT_EQ(scroller->contentSize(), CGSizeMake(4 * 20 + 3 * 10, 20)) << "wider than the scroller";
    EXPECT_EQ(scroller->frame().size.width, 60) << "the content does not stretch the scroller";

    // Scrolling moves what is shown, not the frames.
    scroller->setContentOffset(CGPointMake(50, 0));
    EXPECT_EQ(buttons[3]->frame(), CGRectMake(90, 0, 20, 20));
    EXPECT_EQ(buttons[3]->convertRect(buttons[3]->bounds(), container), CGRectMake(40, 0, 20, 20));
}

} // namespace
