#include <gtest/gtest.h>

#include <cmath>

#include "platform/uikit/CALayer.h"
#include "platform/uikit/UIView.h"

namespace {

std::shared_ptr<UIView> viewWithFrame(CGRect frame) {
    auto view = std::make_shared<UIView>();
    view->initWithFrame(frame);
    return view;
}

void expectRectNear(CGRect actual, CGRect expected) {
    EXPECT_NEAR(actual.origin.x, expected.origin.x, 1e-9);
    EXPECT_NEAR(actual.origin.y, expected.origin.y, 1e-9);
    EXPECT_NEAR(actual.size.width, expected.size.width, 1e-9);
    EXPECT_NEAR(actual.size.height, expected.size.height, 1e-9);
}

TEST(UIViewGeometry, FrameBoundsCenterAndTransformStayConsistent) {
    auto view = viewWithFrame(CGRectMake(10, 20, 100, 50));
    EXPECT_EQ(view->center(), CGPointMake(60, 45));
    EXPECT_EQ(view->bounds(), CGRectMake(0, 0, 100, 50));

    // A transform scales about the centre; the frame is the bounding box, the bounds keep their size.
    view->setTransform(CGAffineTransformMakeScale(0.5, 2));
    expectRectNear(view->frame(), CGRectMake(35, -5, 50, 100));
    EXPECT_EQ(view->bounds().size, CGSizeMake(100, 50));
    view->setTransform(CGAffineTransformIdentity);

    // Changing the bounds' size keeps the centre; changing their origin moves nothing.
    view->setBounds(CGRectMake(5, 5, 40, 10));
    EXPECT_EQ(view->center(), CGPointMake(60, 45));
    expectRectNear(view->frame(), CGRectMake(40, 40, 40, 10));

    view->setCenter(CGPointMake(0, 0));
    expectRectNear(view->frame(), CGRectMake(-20, -5, 40, 10));

    // Not a number is refused rather than spreading through the layout.
    view->setFrame(CGRectMake(NAN, 0, 1, 1));
    expectRectNear(view->frame(), CGRectMake(-20, -5, 40, 10));

    // The backing layer is the view's geometry.
    view->layer()->setPosition(CGPointMake(100, 100));
    EXPECT_EQ(view->center(), CGPointMake(100, 100));
    view->setAlpha(0.25);
    EXPECT_FLOAT_EQ(view->layer()->opacity(), 0.25f);
}

TEST(UIViewGeometry, ConvertsThroughOffsetsScrollingAndTransforms) {
    auto root = viewWithFrame(CGRectMake(0, 0, 400, 400));
    auto middle = viewWithFrame(CGRectMake(50, 60, 200, 200));
    auto leaf = viewWithFrame(CGRectMake(10, 10, 20, 20));
    root->addSubview(middle);
    middle->addSubview(leaf);

    expectRectNear(leaf->convertRect(leaf->bounds(), root), CGRectMake(60, 70, 20, 20));
    expectRectNear(leaf->convertRect(leaf->bounds(), nullptr), CGRectMake(60, 70, 20, 20));
    expectRectNear(root->convertRect(CGRectMake(60, 70, 20, 20), leaf), CGRectMake(0, 0, 20, 20));
    expectRectNear(leaf->convertRectFromView(CGRectMake(60, 70, 20, 20), root), CGRectMake(0, 0, 20, 20));

    // Scrolling the middle view (its bounds origin) moves what it shows up.
    middle->setBounds(CGRectMake(0, 30, 200, 200));
    expectRectNear(leaf->convertRect(leaf->bounds(), root), CGRectMake(60, 40, 20, 20));

    // A scale about the middle view's centre (150, 160 in the root) halves distances from it.
    middle->setBounds(CGRectMake(0, 0, 200, 200));
    middle->setTransform(CGAffineTransformMakeScale(0.5, 0.5));
    CGPoint corner = leaf->convertPoint(CGPointZero, root);
    EXPECT_NEAR(corner.x, 150 + (10 - 100) * 0.5, 1e-9);
    EXPECT_NEAR(corner.y, 160 + (10 - 100) * 0.5, 1e-9);
    CGPoint back = leaf->convertPointFromView(corner, root);
    EXPECT_NEAR(back.x, 0, 1e-9);
    EXPECT_NEAR(back.y, 0, 1e-9);
}

TEST(UIViewGeometry, AutoresizingFollowsTheSuperviewsSize) {
    auto container = viewWithFrame(CGRectMake(0, 0, 300, 200));
    auto filling = viewWithFrame(CGRectMake(10, 10, 280, 180));
    filling->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    auto pinnedRight = viewWithFrame(CGRectMake(250, 10, 40, 20));
    pinnedRight->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin);
    auto centred = viewWithFrame(CGRectMake(100, 50, 100, 100));
    centred->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin |
                                 UIViewAutoresizingFlexibleRightMargin);
    auto fixed = viewWithFrame(CGRectMake(5, 5, 10, 10));
    for (const auto& view : {filling, pinnedRight, centred, fixed})
        container->addSubview(view);

    container->setFrame(CGRectMake(0, 0, 500, 300));
    EXPECT_EQ(filling->frame(), CGRectMake(10, 10, 480, 280));
    EXPECT_EQ(pinnedRight->frame(), CGRectMake(450, 10, 40, 20));
    EXPECT_EQ(centred->frame(), CGRectMake(200, 50, 100, 100)) << "both margins share the growth equally";
    EXPECT_EQ(fixed->frame(), CGRectMake(5, 5, 10, 10));

    // Shrinking and growing back returns every view exactly where code put it.
    container->setFrame(CGRectMake(0, 0, 120, 60));
    container->setFrame(CGRectMake(0, 0, 300, 200));
    EXPECT_EQ(filling->frame(), CGRectMake(10, 10, 280, 180));
    EXPECT_EQ(centred->frame(), CGRectMake(100, 50, 100, 100));

    // From an empty superview, a flexible view takes all the growth (a background added before layout).
    auto empty = std::make_shared<UIView>();
    auto background = viewWithFrame(empty->bounds());
    background->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    empty->addSubview(background);
    empty->setFrame(CGRectMake(0, 0, 320, 160));
    EXPECT_EQ(background->frame(), CGRectMake(0, 0, 320, 160));

    // Views that do not autoresize subviews leave them be.
    container->setAutoresizesSubviews(false);
    container->setFrame(CGRectMake(0, 0, 600, 600));
    EXPECT_EQ(filling->frame(), CGRectMake(10, 10, 280, 180));
}

class FittingView : public UIView {
public:
    CGSize sizeThatFits(CGSize) const override { return {30, 12}; }
};

TEST(UIViewGeometry, SizeToFitKeepsTheOriginUnlessTransformed) {
    auto view = std::make_shared<FittingView>();
    view->setFrame(CGRectMake(40, 50, 100, 100));
    view->sizeToFit();
    EXPECT_EQ(view->frame(), CGRectMake(40, 50, 30, 12));

    // A scaled view keeps its centre and its frame reads the scaled size.
    view->setFrame(CGRectMake(0, 0, 100, 100));
    view->setTransform(CGAffineTransformMakeScale(0.5, 0.5));
    view->sizeToFit();
    EXPECT_EQ(view->center(), CGPointMake(50, 50));
    EXPECT_NEAR(view->frame().size.height, 6, 1e-9);
}

} // namespace
