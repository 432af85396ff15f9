#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tests/platform/render/RenderTestSupport.h"
#include "platform/render/ScreenRenderer.h"
#include "platform/uikit/CAGradientLayer.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/UIView.h"

using platform::RGBA;
using platform::render::Canvas;
using platform::render::renderView;
using namespace rendertest;

namespace {

std::shared_ptr<UIView> viewWithFrame(CGRect frame, const UIColorPtr& color) {
    auto view = std::make_shared<UIView>();
    view->setFrame(frame);
    view->setBackgroundColor(color);
    return view;
}

Canvas draw(UIView& view, double scale = 1) {
    std::string error;
    auto canvas = renderView(view, scale, &error);
    EXPECT_TRUE(canvas.has_value()) << error;
    return canvas ? std::move(*canvas) : std::move(*Canvas::create({1, 1}, 1));
}

} // namespace

TEST(Canvas, RefusesSizesItCannotDrawAndReadsPixelsInPoints) {
    EXPECT_FALSE(Canvas::create({0, 10}, 1));
    EXPECT_FALSE(Canvas::create({NAN, 10}, 2));
    EXPECT_FALSE(Canvas::create({10, 10}, 0));
    EXPECT_FALSE(Canvas::create({40000, 10}, 1));
    EXPECT_FALSE(Canvas::create({20000, 20000}, 1));

    auto canvas = Canvas::create({10.5, 4}, 2);
    ASSERT_TRUE(canvas);
    EXPECT_EQ(canvas->pixelWidth(), 21);
    EXPECT_EQ(canvas->pixelHeight(), 8);
    EXPECT_EQ(canvas->pixelAt(-1, 0), clear);
    EXPECT_EQ(canvas->pixelAt(21, 0), clear);
}

TEST(ViewDrawing, SubviewsDrawInOrderAtTheirFramesAndHiddenOnesAreSkipped) {
    auto root = viewWithFrame(CGRectMake(0, 0, 100, 100), UIColor::whiteColor());
    auto bottom = viewWithFrame(CGRectMake(10, 10, 40, 40), UIColor::redColor());
    auto top = viewWithFrame(CGRectMake(30, 30, 40, 40), UIColor::colorWithRed(0, 0, 1, 1));
    auto hidden = viewWithFrame(CGRectMake(60, 60, 30, 30), UIColor::blackColor());
    hidden->setHidden(true);
    root->addSubview(bottom);
    root->addSubview(top);
    root->addSubview(hidden);

    auto canvas = draw(*root, 2);
    EXPECT_EQ(canvas.pixelWidth(), 200);
    EXPECT_TRUE(pixelIs(canvas, {5, 5}, white));
    EXPECT_TRUE(pixelIs(canvas, {15, 15}, red));
    EXPECT_TRUE(pixelIs(canvas, {35, 35}, blue)) << "the later subview is on top";
    EXPECT_TRUE(pixelIs(canvas, {65, 65}, blue));
    EXPECT_TRUE(pixelIs(canvas, {80, 80}, white)) << "hidden views are not drawn";
    // Edges fall on the frame: 10 points is pixel 20 at scale 2.
    EXPECT_TRUE(near(canvas.pixelAt(19, 19), white));
    EXPECT_TRUE(near(canvas.pixelAt(20, 20), red));
}

TEST(ViewDrawing, ClippedCircleLeavesItsCornersTransparent) {
    auto circle = viewWithFrame(CGRectMake(0, 0, 60, 60), UIColor::redColor());
    circle->layer()->setCornerRadius(30);
    circle->setClipsToBounds(true);
    // A child that fills the whole square: only the circle of it may show.
    circle->addSubview(viewWithFrame(CGRectMake(0, 0, 60, 60), UIColor::colorWithRed(0, 0, 1, 1)));

    auto canvas = draw(*circle, 3);
    EXPECT_TRUE(pixelIs(canvas, {1, 1}, clear));
    EXPECT_TRUE(pixelIs(canvas, {58.5, 58.5}, clear));
    EXPECT_TRUE(pixelIs(canvas, {30, 30}, blue));
    EXPECT_TRUE(pixelIs(canvas, {30, 1}, blue)) << "the top of the circle is inside";

    // Without clipping the child's square corners show.
    circle->setClipsToBounds(false);
    auto unclipped = draw(*circle, 1);
    EXPECT_TRUE(pixelIs(unclipped, {1, 1}, blue));
}

TEST(ViewDrawing, AlphaBlendsAndTransformsPlaceAboutTheCentre) {
    auto root = viewWithFrame(CGRectMake(0, 0, 100, 100), UIColor::whiteColor());
    auto faded = viewWithFrame(CGRectMake(0, 0, 50, 50), UIColor::blackColor());
    faded->setAlpha(0.5);
    auto turned = viewWithFrame(CGRectMake(60, 10, 20, 80), UIColor::redColor());
    // A quarter turn makes the tall bar wide, about its centre (70, 50).
    turned->setTransform(CGAffineTransformMakeRotation(std::numbers::pi / 2));
    root->addSubview(faded);
    root->addSubview(turned);

    auto canvas = draw(*root);
    EXPECT_TRUE(pixelIs(canvas, {25, 25}, {128, 128, 128, 255}, 3));
    EXPECT_TRUE(pixelIs(canvas, {35, 50}, red)) << "the turned bar reaches 40 points left of its centre";
    EXPECT_TRUE(pixelIs(canvas, {95, 50}, red));
    EXPECT_TRUE(pixelIs(canvas, {70, 20}, white)) << "and no longer covers its old top";

    // A transform that collapses the view draws nothing rather than failing the whole picture.
    turned->setTransform(CGAffineTransformMakeScale(0, 1));
    auto collapsed = draw(*root);
    EXPECT_TRUE(pixelIs(collapsed, {70, 50}, white));
    EXPECT_TRUE(pixelIs(collapsed, {25, 25}, {128, 128, 128, 255}, 3));
}

TEST(ViewDrawing, GradientMaskFadesTheEdges) {
    auto view = viewWithFrame(CGRectMake(0, 0, 100, 20), UIColor::redColor());
    auto mask = CAGradientLayer::layer();
    mask->setFrame(CGRectMake(0, 0, 100, 20));
    mask->setStartPoint({0, 0.5});
    mask->setEndPoint({1, 0.5});
    mask->setColors(
        {UIColor::clearColor(), UIColor::blackColor(), UIColor::blackColor(), UIColor::clearColor()});
    mask->setLocations({0, 0.2, 0.8, 1});
    view->layer()->setMask(mask);

    auto canvas = draw(*view);
    EXPECT_LT(canvas.pixelAtPoint({0, 10}).a, 10);
    EXPECT_NEAR(canvas.pixelAtPoint({10, 10}).a, 128, 16) << "half way through the fade";
    EXPECT_TRUE(pixelIs(canvas, {50, 10}, red));
    EXPECT_LT(canvas.pixelAtPoint({99, 10}).a, 10);
    EXPECT_EQ(canvas.pixelAtPoint({50, 10}).r, 255) << "the mask changes coverage, not colour";
}
