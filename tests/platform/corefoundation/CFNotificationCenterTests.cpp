#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/corefoundation/CFNotificationCenter.h"
#include "platform/corefoundation/DarwinNotificationLog.h"
#include "platform/foundation/ResetForTesting.h"

namespace {

class DarwinNotifyCenterTest : public ::testing::Test {
protected:
    void SetUp() override { platform::resetForTesting(); }
    void TearDown() override {
        for (const auto* observer : {&first, &second, &third})
            CFNotificationCenterRemoveEveryObserver(center, observer);
    }

    void post(std::string_view name) {
        CFNotificationCenterPostNotification(center, name, nullptr, nullptr, true);
    }

    // An observer that appends "<tag>:<name>" to `calls`.
    CFNotificationCallback recorder(std::string tag) {
        return [this, tag](CFNotificationCenterRef, void*, const std::string& name, const void*,
                           const Value&) { calls.push_back(tag + ":" + name); };
    }

    void observe(const int* observer, std::string_view name, CFNotificationCallback callback) {
        CFNotificationCenterAddObserver(center, observer, std::move(callback), name, nullptr,
                                        CFNotificationSuspensionBehaviorDeliverImmediately);
    }

    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
    int first = 1, second = 2, third = 3;
    std::vector<std::string> calls;
};

TEST_F(DarwinNotifyCenterTest, ObserversGetTheNameButNeitherObjectNorUserInfo) {
    ASSERT_NE(center, nullptr);
    EXPECT_EQ(center, CFNotificationCenterGetDarwinNotifyCenter());
    int postedObject = 0;
    int calledWith = 0;
    CFNotificationCenterAddObserver(
        center, &first,
        [&](CFNotificationCenterRef sender, void* observer, const std::string& name, const void* object,
            const Value& userInfo) {
            ++calledWith;
            EXPECT_EQ(sender, center);
            EXPECT_EQ(observer, &first);
            EXPECT_EQ(name, "com.example.changed");
            EXPECT_EQ(object, nullptr);
            EXPECT_EQ(userInfo.count(), 0u);
        },
        "com.example.changed", &postedObject, CFNotificationSuspensionBehaviorCoalesce);

    CFNotificationCenterPostNotification(center, "com.example.other", nullptr, nullptr, false);
    EXPECT_EQ(calledWith, 0);
    CFNotificationCenterPostNotification(center, "com.example.changed", &postedObject,
                                         Value::dictionary({{"key", 1}}), false);
    EXPECT_EQ(calledWith, 1);
}

TEST_F(DarwinNotifyCenterTest, RemovingObservers) {
    observe(&first, "a", recorder("first"));
    observe(&first, "b", recorder("first"));
    observe(&second, "a", recorder("second"));
    // Registering again replaces the callback rather than adding a second one.
    observe(&second, "a", recorder("second again"));
    post("a");
    EXPECT_EQ(calls, (std::vector<std::string>{"first:a", "second again:a"}));

    calls.clear();
    CFNotificationCenterRemoveObserver(center, &first, "a", nullptr);
    post("a");
    post("b");
    EXPECT_EQ(calls, (std::vector<std::string>{"second again:a", "first:b"}));

    calls.clear();
    CFNotificationCenterRemoveEveryObserver(center, &first);
    CFNotificationCenterRemoveObserver(center, &second, {}, nullptr);
    post("a");
    post("b");
    EXPECT_TRUE(calls.empty());
}

TEST_F(DarwinNotifyCenterTest, CallbacksMayChangeObserversDuringDelivery) {
    observe(&first, "tick",
            [this](CFNotificationCenterRef sender, void* observer, const std::string& name, const void*,
                   const Value&) {
                calls.push_back("first:" + name);
                CFNotificationCenterRemoveObserver(sender, observer, name, nullptr);
                // One observer removes another that has not been called yet: it must not be called.
                CFNotificationCenterRemoveObserver(sender, &second, name, nullptr);
                observe(&third, name, recorder("third"));
            });
    observe(&second, "tick", recorder("second"));

    post("tick");
    EXPECT_EQ(calls, (std::vector<std::string>{"first:tick"}));
    post("tick");
    EXPECT_EQ(calls, (std::vector<std::string>{"first:tick", "third:tick"}));
}

TEST_F(DarwinNotifyCenterTest, LogRecordsEveryPostInOrder) {
    // A post made while delivering another comes after it in the log.
    observe(&first, "outer",
            [this](CFNotificationCenterRef, void*, const std::string&, const void*, const Value&) {
                post("inner");
            });
    post("unobserved");
    post("outer");
    post("unobserved");
    EXPECT_EQ(platform::DarwinNotificationLog::shared().takePosted(),
              (std::vector<std::string>{"unobserved", "outer", "inner", "unobserved"}));
    EXPECT_TRUE(platform::DarwinNotificationLog::shared().takePosted().empty());
}

TEST_F(DarwinNotifyCenterTest, PostingWhileObserversComeAndGoFromOtherThreads) {
    std::atomic<int> delivered{0};
    auto count = [&](CFNotificationCenterRef, void*, const std::string&, const void*, const Value&) {
        ++delivered;
    };
    observe(&first, "busy", count);
    std::atomic<bool> stop{false};
    std::thread churn([&] {
        while (!stop) {
            observe(&second, "busy", count);
            CFNotificationCenterRemoveEveryObserver(center, &second);
        }
    });
    std::vector<std::thread> posters;
    for (int thread = 0; thread < 3; ++thread)
        posters.emplace_back([&] {
            for (int index = 0; index < 200; ++index)
                post("busy");
        });
    for (auto& poster : posters)
        poster.join();
    stop = true;
    churn.join();
    // The steady observer saw every post; the churning one some share of them.
    EXPECT_GE(delivered.load(), 600);
    EXPECT_EQ(platform::DarwinNotificationLog::shared().takePosted().size(), 600u);
}

} // namespace
