#include <gtest/gtest.h>

#include <vector>

#include "platform/foundation/ManualClock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/runtime/NSObject.h"
#include "platform/uikit/CADisplayLink.h"

namespace {

class TickCounter : public NSObject {
public:
    int ticks = 0;
};

[[maybe_unused]] const Class tickCounterClass = platform::registerClass<TickCounter>("LayoutTestTickCounter");

class CADisplayLinkTest : public ::testing::Test {
protected:
    void SetUp() override { platform::RunLoop::main().runUntilIdle(); }
    void frame(int count = 1) {
        clock.advance(count / CADisplayLink::kFramesPerSecond);
        platform::RunLoop::main().runOnce();
    }

    platform::ScopedManualClock clock{10};
};

TEST_F(CADisplayLinkTest, FiresOncePerFrameOnlyWhileScheduled) {
    std::vector<double> stamps;
    auto link = CADisplayLink::displayLinkWithHandler(
        [&](const std::shared_ptr<CADisplayLink>& sender) { stamps.push_back(sender->timestamp()); });
    frame();
    EXPECT_TRUE(stamps.empty()) << "not scheduled yet";

    auto runLoop = NSRunLoop::currentRunLoop();
    link->addToRunLoop(runLoop, NSRunLoopCommonModes);
    frame();
    ASSERT_EQ(stamps.size(), 1u);
    EXPECT_NEAR(stamps[0], clock.now(), 1e-9) << "the frame that fired";
    platform::RunLoop::main().runOnce();
    EXPECT_EQ(stamps.size(), 1u) << "no new frame, no call";
    frame();
    frame();
    EXPECT_EQ(stamps.size(), 3u);
    frame(5);
    EXPECT_EQ(stamps.size(), 4u) << "frames the clock jumped over are dropped";

    // Another mode keeps it scheduled until the last mode goes.
    link->addToRunLoop(runLoop, NSDefaultRunLoopMode);
    link->removeFromRunLoop(runLoop, NSRunLoopCommonModes);
    frame();
    EXPECT_EQ(stamps.size(), 5u);
    link->removeFromRunLoop(runLoop, NSDefaultRunLoopMode);
    frame();
    frame();
    EXPECT_EQ(stamps.size(), 5u);

    link->addToRunLoop(runLoop, NSRunLoopCommonModes);
    link->setPaused(true);
    frame();
    link->setPaused(false);
    frame();
    EXPECT_EQ(stamps.size(), 6u);

    link->invalidate();
    link->addToRunLoop(runLoop, NSRunLoopCommonModes);
    frame();
    EXPECT_EQ(stamps.size(), 6u) << "an invalidated link never fires again";
}

TEST_F(CADisplayLinkTest, SendsItsSelectorToATargetItDoesNotKeepAlive) {
    class_addMethod(tickCounterClass, "tick",
                    [](const id& self, const MessageArguments& arguments) -> MessageValue {
                        std::static_pointer_cast<TickCounter>(self)->ticks += arguments.empty() ? 1 : 100;
                        return {};
                    });
    auto counter = std::make_shared<TickCounter>();
    auto link = CADisplayLink::displayLinkWithTarget(counter, "tick");
    link->addToRunLoop(NSRunLoop::mainRunLoop(), NSRunLoopCommonModes);
    std::weak_ptr<CADisplayLink> weakLink = link;
    link.reset();
    frame();
    frame();
    EXPECT_EQ(counter->ticks, 2) << "the run loop keeps a scheduled link alive";

    std::weak_ptr<TickCounter> weakCounter = counter;
    counter.reset();
    EXPECT_TRUE(weakCounter.expired());
    frame();
    EXPECT_TRUE(weakLink.expired()) << "with its target gone the link ends";
}

} // namespace

// Two apps in one process: the links of the one taken off the screen stop, the other's go on, and
// a resumed app's links go on from its next frame without the ones it missed.
TEST_F(CADisplayLinkTest, ASuspendedAppsLinksStopUntilItIsResumed) {
    auto previous = platform::SimulatedDevice::applicationIdentifier();
    auto makeLink = [](const std::string& application, int& ticks) {
        platform::SimulatedDevice::setApplicationIdentifier(application);
        auto link = CADisplayLink::displayLinkWithHandler([&ticks](const auto&) { ++ticks; });
        link->addToRunLoop(NSRunLoop::currentRunLoop(), NSRunLoopCommonModes);
        return link;
    };
    int firstTicks = 0, secondTicks = 0;
    auto firstLink = makeLink("com.example.first", firstTicks);
    auto secondLink = makeLink("com.example.second", secondTicks);
    platform::SimulatedDevice::setApplicationIdentifier(previous);

    frame();
    EXPECT_EQ(firstTicks, 1);
    CADisplayLink::setApplicationSuspended("com.example.first", true);
    frame();
    frame();
    EXPECT_EQ(firstTicks, 1);
    EXPECT_EQ(secondTicks, 3);

    // Paused and resumed while suspended: still stopped.
    firstLink->setPaused(true);
    firstLink->setPaused(false);
    frame();
    EXPECT_EQ(firstTicks, 1);

    CADisplayLink::setApplicationSuspended("com.example.first", false);
    frame(10);
    EXPECT_EQ(firstTicks, 2) << "one frame, not the ones missed";
    firstLink->invalidate();
    secondLink->invalidate();
}
