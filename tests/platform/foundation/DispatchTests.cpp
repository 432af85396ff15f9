#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/RunLoop.h"

using namespace std::chrono_literals;
using platform::RunLoop;

TEST(Dispatch, SerialQueuesRunBlocksInOrderOnOneBackgroundThread) {
    auto queue = dispatch_queue_create("com.corvale.tests.serial");
    EXPECT_STREQ(dispatch_queue_get_label(queue), "com.corvale.tests.serial");
    std::vector<int> order;
    std::vector<std::thread::id> threads;
    for (int index = 0; index < 500; ++index) {
        dispatch_async(queue, [&, index] {
            order.push_back(index);
            threads.push_back(std::this_thread::get_id());
        });
    }
    dispatch_sync(queue, [] {});
    ASSERT_EQ(order.size(), 500u);
    for (std::size_t index = 0; index < order.size(); ++index)
        ASSERT_EQ(order[index], static_cast<int>(index));
    EXPECT_NE(threads.front(), std::this_thread::get_id());
    EXPECT_EQ(std::count(threads.begin(), threads.end(), threads.front()), 500);
}

TEST(Dispatch, SyncRunsInlineOnTheQueuesOwnThreadInsteadOfDeadlocking) {
    auto queue = dispatch_queue_create("com.corvale.tests.nested");
    std::vector<int> steps;
    dispatch_sync(queue, [&] {
        steps.push_back(1);
        dispatch_sync(queue, [&] { steps.push_back(2); });
        steps.push_back(3);
    });
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3}));

    // The main queue from the main thread, likewise.
    ASSERT_TRUE(platform::isMainThread());
    bool ran = false;
    dispatch_sync(dispatch_get_main_queue(), [&] { ran = true; });
    EXPECT_TRUE(ran);

    // A block that throws still releases the waiting caller.
    platform::LogCapture log;
    dispatch_sync(queue, [] { throw std::runtime_error("sync failure"); });
    EXPECT_TRUE(log.contains("sync failure"));
}

TEST(Dispatch, SyncToTheMainQueueFromABackgroundThreadWaitsForTheRunLoop) {
    RunLoop::main().runUntilIdle();
    auto queue = dispatch_queue_create("com.corvale.tests.tomain");
    std::atomic<bool> backgroundResumed{false};
    std::thread::id ranOn;
    dispatch_async(queue, [&] {
        EXPECT_FALSE(platform::isMainThread());
        dispatch_sync(dispatch_get_main_queue(), [&] { ranOn = std::this_thread::get_id(); });
        backgroundResumed = true;
    });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return backgroundResumed.load(); }, 10s));
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(Dispatch, DelayedBlocksOnASerialQueueRunByDueTime) {
    auto queue = dispatch_queue_create("com.corvale.tests.after");
    std::vector<int> order;
    bool done = false;
    auto record = [&](int value) {
        return [&, value] {
            dispatch_async(dispatch_get_main_queue(), [&, value] {
                order.push_back(value);
                done = order.size() == 3;
            });
        };
    };
    dispatch_after(0.06, queue, record(3));
    dispatch_after(0.03, queue, record(2));
    dispatch_async(queue, record(1));
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return done; }, 10s));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST(Dispatch, AReleasedQueueFinishesWhatWasQueued) {
    std::atomic<int> ran{0};
    {
        auto queue = dispatch_queue_create("com.corvale.tests.release");
        for (int index = 0; index < 100; ++index)
            dispatch_async(queue, [&] { ++ran; });
        dispatch_after(3600, queue, [&] { ran += 1000; });
    }
    EXPECT_EQ(ran.load(), 100) << "queued blocks run before the queue is gone; far delayed ones are dropped";

    // A queue whose last reference goes away inside its own block must not join itself.
    std::atomic<bool> finished{false};
    {
        auto queue = dispatch_queue_create("com.corvale.tests.self-release");
        dispatch_async(queue, [queue, &finished]() mutable {
            queue.reset();
            dispatch_async(dispatch_get_main_queue(), [&finished] { finished = true; });
        });
    }
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return finished.load(); }, 10s));
}

TEST(Dispatch, OnceRunsItsBlockExactlyOnceUnderContention) {
    static dispatch_once_t predicate;
    static int calls = 0;
    static std::vector<int> table;
    std::atomic<int> sawIncompleteTable{0};
    std::vector<std::thread> threads;
    for (int thread = 0; thread < 8; ++thread) {
        threads.emplace_back([&] {
            dispatch_once(&predicate, [] {
                ++calls;
                table.assign(1000, 7);
            });
            if (table.size() != 1000)
                ++sawIncompleteTable;
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(sawIncompleteTable.load(), 0) << "losers wait for the winner's block to finish";

    dispatch_once_t throwing;
    platform::LogCapture log;
    dispatch_once(&throwing, [] { throw std::runtime_error("once failure"); });
    bool ranAgain = false;
    dispatch_once(&throwing, [&] { ranAgain = true; });
    EXPECT_FALSE(ranAgain) << "a block that threw still counts as done";
    EXPECT_TRUE(log.contains("once failure"));
}

TEST(Dispatch, TheGlobalQueueIsSharedAndRunsBlocks) {
    EXPECT_EQ(dispatch_get_global_queue(0, 0), dispatch_get_global_queue(0, 0));
    std::atomic<bool> ran{false};
    dispatch_sync(dispatch_get_global_queue(0, 0), [&] { ran = true; });
    EXPECT_TRUE(ran.load());
    dispatch_async(nullptr, [] {});
    dispatch_sync(nullptr, [] {});
}
