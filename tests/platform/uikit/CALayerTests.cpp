#include <gtest/gtest.h>

#include "platform/foundation/NSLog.h"
#include "platform/uikit/CAGradientLayer.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/UIView.h"

namespace {

TEST(CALayer, AStandaloneLayerKeepsItsOwnGeometryAndAViewsLayerIsTheView) {
    auto layer = CALayer::layer();
    layer->setFrame(CGRectMake(10, 20, 30, 40));
    EXPECT_EQ(layer->position(), CGPointMake(25, 40));
    EXPECT_EQ(layer->bounds(), CGRectMake(0, 0, 30, 40));
    layer->setOpacity(3);
    EXPECT_EQ(layer->opacity(), 1.0f);
    EXPECT_EQ(layer->shadowOpacity(), 0.0f);
    EXPECT_EQ(layer->shadowOffset(), CGSizeMake(0, -3));

    auto view = std::make_shared<UIView>();
    view->setFrame(CGRectMake(0, 0, 72, 72));
    auto backing = view->layer();
    EXPECT_EQ(view->layer(), backing) << "one layer for the view's life";
    backing->setCornerRadius(view->bounds().size.width / 2);
    backing->setMasksToBounds(true);
    EXPECT_TRUE(view->clipsToBounds());
    backing->setShadowColor(UIColor::blackColor());
    backing->setShadowOpacity(0.15f);
    backing->setShadowOffset(CGSizeMake(0, 2));
    backing->setShadowRadius(12);
    backing->setFrame(CGRectMake(5, 5, 50, 50));
    EXPECT_EQ(view->frame(), CGRectMake(5, 5, 50, 50));

    // A presentation copy stands alone: changing it leaves the view be.
    auto snapshot = backing->presentationLayer();
    snapshot->setPosition(CGPointMake(0, 0));
    EXPECT_EQ(view->center(), CGPointMake(30, 30));
    EXPECT_EQ(snapshot->shadowRadius(), 12);
    EXPECT_EQ(snapshot->cornerRadius(), 36);
}

TEST(CALayer, AMaskBelongsToOneLayerAndIsNoSublayer) {
    auto host = CALayer::layer();
    auto other = CALayer::layer();
    auto mask = CAGradientLayer::layer();
    host->setMask(mask);
    EXPECT_EQ(host->mask(), mask);

    platform::LogCapture log;
    other->setMask(mask);
    EXPECT_EQ(other->mask(), nullptr);
    EXPECT_TRUE(log.contains("setMask"));
    other->addSublayer(mask);
    EXPECT_TRUE(other->sublayers().empty());

    host->setMask(nullptr);
    other->setMask(mask);
    EXPECT_EQ(other->mask(), mask) << "free again once its layer let go";

    auto child = CALayer::layer();
    host->addSublayer(child);
    other->addSublayer(child);
    EXPECT_TRUE(host->sublayers().empty());
    EXPECT_EQ(child->superlayer(), other);
}

TEST(CAGradientLayer, InterpolatesBetweenLocationsAlongItsLine) {
    auto gradient = CAGradientLayer::layer();
    EXPECT_EQ(gradient->startPoint(), CGPointMake(0.5, 0));
    gradient->setFrame(CGRectMake(0, 0, 200, 160));
    // The fading edge of a name cloud: clear, black, black, clear across.
    gradient->setColors(
        {UIColor::clearColor(), UIColor::blackColor(), UIColor::blackColor(), UIColor::clearColor()});
    gradient->setLocations({0, 0.25, 0.75, 1});
    gradient->setStartPoint(CGPointMake(0, 0.5));
    gradient->setEndPoint(CGPointMake(1, 0.5));
    EXPECT_DOUBLE_EQ(gradient->colorAtPoint(CGPointMake(0, 80)).alpha, 0);
    EXPECT_DOUBLE_EQ(gradient->colorAtPoint(CGPointMake(25, 0)).alpha, 0.5);
    EXPECT_DOUBLE_EQ(gradient->colorAtPoint(CGPointMake(100, 160)).alpha, 1);
    EXPECT_DOUBLE_EQ(gradient->colorAtPoint(CGPointMake(175, 80)).alpha, 0.5);
    EXPECT_DOUBLE_EQ(gradient->colorAtPoint(CGPointMake(250, 80)).alpha, 0)
        << "beyond the end: the last colour";

    // Without (matching) locations the colours spread evenly.
    gradient->setLocations({0.5});
    EXPECT_DOUBLE_EQ(gradient->colorAtPosition(1.0 / 6).alpha, 0.5);

    auto copy = std::dynamic_pointer_cast<CAGradientLayer>(gradient->presentationLayer());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->colors().size(), 4u);
    EXPECT_EQ(copy->frame(), gradient->frame());
}

} // namespace
