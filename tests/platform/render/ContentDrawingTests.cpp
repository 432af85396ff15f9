#include <gtest/gtest.h>

#include <cairo.h>

#include "platform/foundation/ManualClock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/render/ScreenRenderer.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/NSMutableAttributedString.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "tests/platform/render/RenderTestSupport.h"

using platform::RGBA;
using platform::render::Canvas;
using namespace rendertest;

namespace {

std::shared_ptr<UIView> canvasView(CGSize size) {
    auto view = std::make_shared<UIView>();
    view->setFrame({CGPointZero, size});
    view->setBackgroundColor(UIColor::whiteColor());
    return view;
}

Canvas draw(UIView& view, double scale = 1) {
    std::string error;
    auto canvas = platform::render::renderView(view, scale, &error);
    EXPECT_TRUE(canvas) << error;
    return canvas ? std::move(*canvas) : std::move(*Canvas::create({1, 1}, 1));
}

// A picture of `width` x `height` pixels in one colour.
std::shared_ptr<UIImage> solidImage(std::uint32_t width, std::uint32_t height, RGBA colour,
                                    double scale = 1) {
    auto bitmap = platform::Bitmap::allocate(width, height);
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x)
            bitmap->setPixel(x, y, colour);
    return UIImage::imageWithBitmap(std::make_shared<platform::Bitmap>(std::move(*bitmap)), scale);
}

// Pixels clearly in a colour's direction: the channel named is high, the other two low.
long countReddish(const Canvas& canvas, CGRect rect) {
    long count = 0;
    for (int y = int(rect.origin.y); y < int(CGRectGetMaxY(rect)); ++y)
        for (int x = int(rect.origin.x); x < int(CGRectGetMaxX(rect)); ++x) {
            RGBA p = canvas.pixelAt(x, y);
            count += p.r > 200 && p.g < 150 && p.b < 150 ? 1 : 0;
        }
    return count;
}

long countBluish(const Canvas& canvas, CGRect rect) {
    long count = 0;
    for (int y = int(rect.origin.y); y < int(CGRectGetMaxY(rect)); ++y)
        for (int x = int(rect.origin.x); x < int(CGRectGetMaxX(rect)); ++x) {
            RGBA p = canvas.pixelAt(x, y);
            count += p.b > 200 && p.r < 150 && p.g < 150 ? 1 : 0;
        }
    return count;
}

} // namespace

TEST(ContentDrawing, LabelsDrawTheirRunsInTheirColoursWithinTheirBounds) {
    auto root = canvasView({300, 60});
    auto label = std::make_shared<UILabel>();
    auto text = std::make_shared<NSMutableAttributedString>("REDRED BLUEBLUE");
    text->addAttribute(NSForegroundColorAttributeName, UIColor::redColor(), {0, 6});
    text->addAttribute(NSForegroundColorAttributeName, UIColor::colorWithRed(0, 0, 1, 1), {7, 8});
    label->setAttributedText(text);
    label->setFont(UIFont::boldSystemFontOfSize(24));
    label->setFrame(CGRectMake(10, 10, 280, 40));
    root->addSubview(label);

    auto canvas = draw(*root);
    CGFloat middle = 10 + label->intrinsicContentSize().width * 6.5 / 15;
    EXPECT_GT(countReddish(canvas, CGRectMake(10, 10, middle - 10, 40)), 40);
    EXPECT_EQ(countBluish(canvas, CGRectMake(10, 10, middle - 10 - 20, 40)), 0)
        << "blue only after the space";
    EXPECT_GT(countBluish(canvas, CGRectMake(middle, 10, 290 - middle, 40)), 40);
    EXPECT_EQ(countReddish(canvas, CGRectMake(middle + 20, 10, 290 - middle - 20, 40)), 0);
    // Nothing outside the label's bounds, and the text sits on its vertical middle.
    EXPECT_EQ(countReddish(canvas, CGRectMake(0, 0, 300, 10)) +
                  countReddish(canvas, CGRectMake(0, 50, 300, 10)),
              0);
}

TEST(ContentDrawing, ImagesFollowTheirContentModeAndClipping) {
    auto root = canvasView({100, 100});
    auto imageView = std::make_shared<UIImageView>();
    // 40 x 20 points (80 x 40 pixels at 2x) in a 100-point square.
    imageView->setImage(solidImage(80, 40, red, 2));
    imageView->setFrame(CGRectMake(0, 0, 100, 100));
    root->addSubview(imageView);

    imageView->setContentMode(UIViewContentModeScaleAspectFit);
    auto fit = draw(*root);
    EXPECT_TRUE(pixelIs(fit, {50, 50}, red));
    EXPECT_TRUE(pixelIs(fit, {50, 20}, white)) << "letterboxed above";
    EXPECT_TRUE(pixelIs(fit, {50, 80}, white)) << "and below";
    EXPECT_TRUE(pixelIs(fit, {1, 50}, red)) << "full width";

    imageView->setContentMode(UIViewContentModeCenter);
    auto centred = draw(*root);
    EXPECT_TRUE(pixelIs(centred, {50, 50}, red));
    EXPECT_TRUE(pixelIs(centred, {25, 50}, white)) << "the image keeps its 40-point width";
    EXPECT_TRUE(pixelIs(centred, {32, 42}, red));

    // Aspect fill overflows the bounds unless the view clips.
    imageView->setFrame(CGRectMake(25, 25, 50, 50));
    imageView->setContentMode(UIViewContentModeScaleAspectFill);
    EXPECT_TRUE(pixelIs(draw(*root), {10, 50}, red));
    imageView->setClipsToBounds(true);
    EXPECT_TRUE(pixelIs(draw(*root), {10, 50}, white));
}

TEST(ContentDrawing, ShadowsFallBelowAndFadeWithDistance) {
    auto root = canvasView({100, 100});
    auto card = std::make_shared<UIView>();
    card->setFrame(CGRectMake(20, 20, 60, 40));
    card->setBackgroundColor(UIColor::whiteColor());
    card->layer()->setCornerRadius(8);
    card->layer()->setShadowOpacity(1);
    card->layer()->setShadowRadius(6);
    card->layer()->setShadowOffset({0, 10});
    root->addSubview(card);

    auto canvas = draw(*root, 2);
    EXPECT_TRUE(pixelIs(canvas, {50, 40}, white)) << "the card covers its own shadow";
    RGBA below = canvas.pixelAtPoint({50, 63}), further = canvas.pixelAtPoint({50, 72}),
         above = canvas.pixelAtPoint({50, 17});
    EXPECT_LT(below.r, 160) << "dark just under the card";
    EXPECT_GT(further.r, below.r) << "lighter further out";
    EXPECT_GT(above.r, below.r + 60) << "the offset moves the shadow down";
    EXPECT_TRUE(pixelIs(canvas, {50, 95}, white));

    card->layer()->setShadowOpacity(0);
    EXPECT_TRUE(pixelIs(draw(*root), {50, 63}, white));
}

TEST(ContentDrawing, RunningAnimationsDrawWhereTheyAreOnScreen) {
    platform::RunLoop::main().runUntilIdle();
    platform::ScopedManualClock clock(100);
    auto root = canvasView({200, 40});
    auto block = std::make_shared<UIView>();
    block->setFrame(CGRectMake(0, 0, 40, 40));
    block->setBackgroundColor(UIColor::redColor());
    root->addSubview(block);

    UIView::animateWithDuration(
        1.0, 0, UIViewAnimationOptionCurveLinear,
        [&] {
            block->setCenter({180, 20});
        },
        nullptr);
    clock.advance(0.5);
    // Model at 180, presentation half way: 20 -> 100.
    auto halfway = draw(*root);
    EXPECT_TRUE(pixelIs(halfway, {100, 20}, red));
    EXPECT_TRUE(pixelIs(halfway, {180, 20}, white));
    EXPECT_TRUE(pixelIs(halfway, {20, 20}, white));

    clock.advance(1);
    platform::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(pixelIs(draw(*root), {180, 20}, red));
}

// The preview skips encoding a frame drawn exactly as the last one, so one changed pixel or another
// size must tell them apart.
TEST(ContentDrawing, CanvasesWithTheSamePixelsAreTheSame) {
    auto view = canvasView({30, 20});
    auto label = std::make_shared<UILabel>();
    label->setFrame(CGRectMake(2, 2, 26, 16));
    label->setText("Hi");
    view->addSubview(label);
    auto first = draw(*view, 2);
    EXPECT_TRUE(first.hasSamePixels(draw(*view, 2)));
    EXPECT_FALSE(first.hasSamePixels(draw(*view, 1)));

    auto touched = draw(*view, 2);
    cairo_set_source_rgb(touched.context(), 0, 0, 0);
    cairo_rectangle(touched.context(), 29.5, 19.5, 0.5, 0.5);
    cairo_fill(touched.context());
    EXPECT_FALSE(first.hasSamePixels(touched)) << "the last pixel of the last row differs";
}
