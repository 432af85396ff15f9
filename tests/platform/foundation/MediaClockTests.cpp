#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/foundation/ManualClock.h"
#include "platform/foundation/MediaClock.h"

TEST(MediaClock, ManualClocksReplaceRealTimeForTheirScope) {
    double realBefore = CACurrentMediaTime();
    {
        platform::ScopedManualClock clock;
        EXPECT_EQ(CACurrentMediaTime(), 0.0);
        clock.advance(1.5);
        EXPECT_EQ(CACurrentMediaTime(), 1.5);
        clock.set(10);
        EXPECT_EQ(CACurrentMediaTime(), 10.0);
    }
    EXPECT_GE(CACurrentMediaTime(), realBefore) << "real time is monotonic and back in place";

    auto manual = std::make_shared<platform::ManualClock>(3);
    platform::setMediaClock(manual);
    EXPECT_EQ(CACurrentMediaTime(), 3.0);
    platform::setMediaClock(nullptr);
    EXPECT_GE(CACurrentMediaTime(), realBefore);
}

TEST(MediaClock, AdvancesFromManyThreadsAllCount) {
    platform::ManualClock clock;
    std::vector<std::thread> threads;
    for (int thread = 0; thread < 4; ++thread) {
        threads.emplace_back([&] {
            for (int step = 0; step < 1000; ++step)
                clock.advance(0.25);
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(clock.now(), 1000.0);
}
