#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/ManualClock.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/RunLoop.h"

using namespace std::chrono_literals;
using platform::RunLoop;

namespace {

class MainRunLoop : public testing::Test {
protected:
    void SetUp() override { loop().runUntilIdle(); }
    static RunLoop& loop() { return RunLoop::main(); }
    platform::ScopedManualClock clock{100};
};

} // namespace

TEST_F(MainRunLoop, MainQueueBlocksRunInOrderWhenTheLoopTurns) {
    std::vector<std::string> ran;
    for (const char* name : {"a", "b", "c"})
        dispatch_async(dispatch_get_main_queue(), [&ran, name] { ran.emplace_back(name); });
    EXPECT_TRUE(ran.empty()) << "nothing runs until the loop turns";
    EXPECT_EQ(loop().queuedBlockCount(), 3u);

    // A block queued by a block waits for the next turn.
    dispatch_async(dispatch_get_main_queue(),
                   [&] { dispatch_async(dispatch_get_main_queue(), [&] { ran.emplace_back("later"); }); });
    EXPECT_TRUE(loop().runOnce());
    EXPECT_EQ(ran, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(loop().runOnce());
    EXPECT_EQ(ran.back(), "later");
    EXPECT_FALSE(loop().runOnce());
}

TEST_F(MainRunLoop, DelayedBlocksFireOnlyOnceTheManualClockPassesThem) {
    std::vector<std::string> fired;
    dispatch_after(0.5, dispatch_get_main_queue(), [&] { fired.emplace_back("half"); });
    dispatch_after(0.25, dispatch_get_main_queue(), [&] { fired.emplace_back("quarter"); });
    dispatch_after(0.5, dispatch_get_main_queue(), [&] { fired.emplace_back("half again"); });
    dispatch_after(-3, dispatch_get_main_queue(), [&] { fired.emplace_back("now"); });
    EXPECT_EQ(loop().nextTimerFireTime(), 100.0);

    EXPECT_TRUE(loop().runOnce());
    EXPECT_EQ(fired, std::vector<std::string>{"now"});
    clock.advance(0.2);
    EXPECT_FALSE(loop().runOnce());
    clock.advance(0.3);
    EXPECT_TRUE(loop().runOnce());
    EXPECT_EQ(fired, (std::vector<std::string>{"now", "quarter", "half", "half again"}));
    EXPECT_EQ(loop().timerCount(), 0u);
    EXPECT_EQ(loop().nextTimerFireTime(), std::nullopt);
}

TEST_F(MainRunLoop, CancelledTimersNeverRunEvenWhenDueInTheSameTurn) {
    int fired = 0;
    auto cancelled = loop().addTimer(clock.now() + 1, [&] { fired += 100; });
    auto keeps = loop().addTimer(clock.now() + 1, [&] { fired += 1; });
    loop().cancelTimer(cancelled);
    loop().cancelTimer(cancelled);
    loop().cancelTimer(0);
    EXPECT_EQ(loop().addTimer(clock.now(), nullptr), 0u);

    // The first of two due timers cancels the second.
    std::uint64_t victim = 0;
    loop().addTimer(clock.now() + 1, [&] { loop().cancelTimer(victim); });
    victim = loop().addTimer(clock.now() + 1, [&] { fired += 1000; });

    clock.advance(1);
    loop().runUntilIdle();
    EXPECT_EQ(fired, 1);
    loop().cancelTimer(keeps); // already fired: nothing to do
}

TEST_F(MainRunLoop, ATimerScheduledByATimerWaitsForTheNextTurn) {
    int ticks = 0;
    std::function<void()> tick = [&] {
        ++ticks;
        loop().addTimer(clock.now(), tick);
    };
    loop().addTimer(clock.now(), tick);
    EXPECT_TRUE(loop().runOnce());
    EXPECT_EQ(ticks, 1);
    EXPECT_TRUE(loop().runOnce());
    EXPECT_EQ(ticks, 2);
    loop().runUntilIdle(5);
    EXPECT_EQ(ticks, 7);
}

TEST_F(MainRunLoop, TimersScheduledOnAManualClockDieWithIt) {
    bool fired = false;
    {
        platform::ScopedManualClock inner(5);
        loop().addTimer(inner.now() + 1, [&] { fired = true; });
        EXPECT_EQ(CACurrentMediaTime(), 5.0);
    }
    EXPECT_EQ(CACurrentMediaTime(), 100.0) << "the outer clock is back";
    EXPECT_EQ(loop().timerCount(), 0u);
    clock.advance(1000);
    loop().runUntilIdle();
    EXPECT_FALSE(fired);
}

TEST_F(MainRunLoop, BlocksThatThrowAreLoggedAndTheLoopGoesOn) {
    platform::LogCapture log;
    bool after = false;
    dispatch_async(dispatch_get_main_queue(), [] { throw std::runtime_error("bad block"); });
    dispatch_async(dispatch_get_main_queue(), [&] { after = true; });
    loop().runUntilIdle();
    EXPECT_TRUE(after);
    EXPECT_TRUE(log.contains("bad block"));
}

TEST_F(MainRunLoop, RunUntilGivesUpAfterTheTimeoutWithoutWorkToDo) {
    bool never = false;
    EXPECT_FALSE(loop().runUntil([&] { return never; }, 30ms));
    EXPECT_TRUE(loop().runUntil([] { return true; }, 0ms));
}

TEST_F(MainRunLoop, RunUntilRunsWhatOtherThreadsPost) {
    auto queue = dispatch_queue_create("com.corvale.tests.poster");
    std::vector<int> received;
    for (int index = 0; index < 20; ++index) {
        dispatch_async(queue, [&received, index] {
            dispatch_async(dispatch_get_main_queue(), [&received, index] { received.push_back(index); });
        });
    }
    EXPECT_TRUE(loop().runUntil([&] { return received.size() == 20; }, 10s));
    for (int index = 0; index < 20; ++index)
        EXPECT_EQ(received[static_cast<std::size_t>(index)], index);
}

TEST_F(MainRunLoop, RunUntilSeesTheManualClockMovedByAnotherThread) {
    bool fired = false;
    dispatch_after(2, dispatch_get_main_queue(), [&] { fired = true; });
    std::thread mover([this] { clock.advance(2); });
    EXPECT_TRUE(loop().runUntil([&] { return fired; }, 10s));
    mover.join();
}
