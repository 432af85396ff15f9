#include <gtest/gtest.h>

#include <optional>

#include "platform/foundation/ManualClock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/ViewAnimator.h"

namespace {

class UIViewAnimation : public ::testing::Test {
protected:
    void SetUp() override {
        platform::RunLoop::main().runUntilIdle();
        view->setFrame(CGRectMake(0, 0, 20, 20));
    }
    void TearDown() override { platform::RunLoop::main().runUntilIdle(); }

    void advance(double seconds) {
        clock.advance(seconds);
        platform::RunLoop::main().runOnce();
    }
    std::shared_ptr<CALayer> presentation() { return view->layer()->presentationLayer(); }

    platform::ScopedManualClock clock{100};
    std::shared_ptr<UIView> view = std::make_shared<UIView>();
};

TEST_F(UIViewAnimation, ModelChangesAtOncePresentationFollowsTheClock) {
    std::optional<bool> finished;
    UIView::animateWithDuration(
        1.0, 0, UIViewAnimationOptionCurveLinear,
        [&] {
            view->setAlpha(0);
            view->setCenter(CGPointMake(110, 10));
            view->setTransform(CGAffineTransformMakeScale(2, 2));
        },
        [&](bool done) { finished = done; });
    EXPECT_EQ(view->alpha(), 0);
    EXPECT_EQ(view->center(), CGPointMake(110, 10));
    EXPECT_FLOAT_EQ(presentation()->opacity(), 1);
    EXPECT_EQ(platform::ViewAnimator::shared().runningAnimationCount(), 3u);

    advance(0.25);
    EXPECT_NEAR(presentation()->opacity(), 0.75, 1e-6);
    EXPECT_NEAR(presentation()->position().x, 35, 1e-9);
    EXPECT_NEAR(presentation()->affineTransform().a, 1.25, 1e-9);
    EXPECT_FALSE(finished.has_value());

    advance(0.75);
    EXPECT_EQ(finished, std::optional<bool>(true));
    EXPECT_FLOAT_EQ(presentation()->opacity(), 0);
    EXPECT_EQ(platform::ViewAnimator::shared().runningAnimationCount(), 0u);
}

// Two apps in one process: each counts only the animations started while it was the current one.
TEST_F(UIViewAnimation, RunningAnimationsAreCountedForTheAppThatStartedThem) {
    auto previous = platform::SimulatedDevice::applicationIdentifier();
    auto other = std::make_shared<UIView>();
    platform::SimulatedDevice::setApplicationIdentifier("com.example.first");
    UIView::animateWithDuration(1.0, [&] {
        view->setAlpha(0);
        view->setCenter(CGPointMake(50, 50));
    });
    platform::SimulatedDevice::setApplicationIdentifier("com.example.second");
    UIView::animateWithDuration(2.0, [&] { other->setAlpha(0); });
    platform::SimulatedDevice::setApplicationIdentifier(previous);
    auto& animator = platform::ViewAnimator::shared();
    EXPECT_EQ(animator.runningAnimationCount("com.example.first"), 2u);
    EXPECT_EQ(animator.runningAnimationCount("com.example.second"), 1u);
    EXPECT_EQ(animator.runningAnimationCount(), 3u);
    advance(1.0);
    EXPECT_EQ(animator.runningAnimationCount("com.example.first"), 0u);
    EXPECT_EQ(animator.runningAnimationCount("com.example.second"), 1u);
    advance(1.0);
}

TEST_F(UIViewAnimation, TheDefaultCurveEasesAndADelayHoldsTheStartValue) {
    UIView::animateWithDuration(1.0, [&] { view->setAlpha(0); });
    advance(0.25);
    double eased = presentation()->opacity();
    EXPECT_GT(eased, 0.75) << "ease in: slower than linear at first";
    advance(0.25);
    EXPECT_NEAR(presentation()->opacity(), 0.5, 1e-6) << "the curve is symmetric";
    advance(0.5);

    bool done = false;
    UIView::animateWithDuration(
        0.2, 0.5, UIViewAnimationOptionCurveLinear, [&] { view->setCenter(CGPointMake(10, 110)); },
        [&](bool) { done = true; });
    advance(0.4);
    EXPECT_EQ(presentation()->position(), CGPointMake(10, 10)) << "still waiting";
    advance(0.2);
    EXPECT_NEAR(presentation()->position().y, 60, 1e-6);
    EXPECT_FALSE(done);
    advance(0.1);
    EXPECT_TRUE(done);
}

TEST_F(UIViewAnimation, ANewAnimationTakesOverFromWhereTheOldOneIs) {
    std::optional<bool> first, second;
    UIView::animateWithDuration(
        1.0, 0, UIViewAnimationOptionCurveLinear, [&] { view->setAlpha(0); },
        [&](bool done) { first = done; });
    advance(0.5);
    UIView::animateWithDuration(
        1.0, 0, UIViewAnimationOptionCurveLinear, [&] { view->setAlpha(1); },
        [&](bool done) { second = done; });
    EXPECT_NEAR(presentation()->opacity(), 0.5, 1e-6) << "no jump";
    platform::RunLoop::main().runOnce();
    EXPECT_EQ(first, std::optional<bool>(false)) << "the replaced animation did not finish";
    advance(0.5);
    EXPECT_NEAR(presentation()->opacity(), 0.75, 1e-6);

    // Setting the value outside an animation ends the running one.
    view->setAlpha(0.2);
    EXPECT_FLOAT_EQ(presentation()->opacity(), 0.2f);
    platform::RunLoop::main().runOnce();
    EXPECT_EQ(second, std::optional<bool>(false));
}

TEST_F(UIViewAnimation, BlocksThatAnimateNothingCompleteOnTheNextTurn) {
    std::optional<bool> finished;
    UIView::animateWithDuration(
        0.3, [&] { view->setAlpha(1); }, [&](bool done) { finished = done; });
    EXPECT_FALSE(finished.has_value()) << "never inside the call";
    platform::RunLoop::main().runOnce();
    EXPECT_EQ(finished, std::optional<bool>(true));

    // Without animation (or at zero duration) values jump.
    UIView::performWithoutAnimation([&] { UIView::animateWithDuration(1, [&] { view->setAlpha(0.5); }); });
    EXPECT_FLOAT_EQ(presentation()->opacity(), 0.5f);
    UIView::animateWithDuration(0, [&] { view->setAlpha(0.25); });
    EXPECT_FLOAT_EQ(presentation()->opacity(), 0.25f);
}

} // namespace
