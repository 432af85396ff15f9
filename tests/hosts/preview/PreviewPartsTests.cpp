// The preview's pieces that decide on their own: who may talk to it, when a frame is new, where the
// app stood, and what its command line accepts.
#include <gtest/gtest.h>

#include <thread>

#include "hosts/preview/FrameStore.h"
#include "hosts/preview/MainThreadQueue.h"
#include "hosts/preview/NavigationPath.h"
#include "hosts/preview/PreviewCommandLine.h"
#include "hosts/preview/RequestGuard.h"

using namespace corvale::preview;

TEST(RequestGuard, AllowsOnlyTheLoopbackNamesWithItsOwnPort) {
    RequestGuard guard(8123, "abc");
    EXPECT_TRUE(guard.hostAllowed("127.0.0.1:8123"));
    EXPECT_TRUE(guard.hostAllowed("localhost:8123"));
    for (const char* host :
         {"127.0.0.1", "localhost", "127.0.0.1:81234", "127.0.0.1:812", "localhost:8124", "evil.example:8123",
          "127.0.0.1.evil.example:8123", "[::1]:8123", "", "LOCALHOST.:8123"})
        EXPECT_FALSE(guard.hostAllowed(host)) << host;
}

TEST(RequestGuard, TokenMustMatchWhole) {
    RequestGuard guard(1, "0123456789abcdef0123456789abcdef");
    EXPECT_TRUE(guard.tokenMatches("0123456789abcdef0123456789abcdef"));
    EXPECT_FALSE(guard.tokenMatches("0123456789abcdef0123456789abcdee"));
    EXPECT_FALSE(guard.tokenMatches("0123456789abcdef"));
    EXPECT_FALSE(guard.tokenMatches("0123456789abcdef0123456789abcdef0"));
    EXPECT_FALSE(guard.tokenMatches(""));
    EXPECT_FALSE(RequestGuard(1, "").tokenMatches(""));
}

TEST(RequestGuard, RandomTokensAreLongAndDiffer) {
    auto first = RequestGuard::randomToken();
    EXPECT_EQ(first.size(), 32u);
    EXPECT_EQ(first.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_NE(first, RequestGuard::randomToken());
}

TEST(FrameStore, OnlyAChangeOfPictureOrStateIsANewFrame) {
    FrameStore store;
    EXPECT_TRUE(store.publish("picture", "{}"));
    EXPECT_EQ(store.latest().sequence, 1u);
    EXPECT_FALSE(store.publish("picture", "{}"));
    EXPECT_EQ(store.latest().sequence, 1u);
    EXPECT_TRUE(store.publish("picture 2", "{}"));
    EXPECT_TRUE(store.publish("picture 2", "{\"a\":1}"));
    auto latest = store.latest();
    EXPECT_EQ(latest.sequence, 3u);
    EXPECT_EQ(*latest.image, "picture 2");
    EXPECT_EQ(*latest.state, "{\"a\":1}");
    store.publish("picture 2", "{\"a\":1}", false);
    auto counts = store.statistics();
    EXPECT_EQ(counts.drawn, 5u);
    EXPECT_EQ(counts.encoded, 4u);
    EXPECT_EQ(counts.published, 3u);
}

TEST(FrameStore, AWaiterWakesForTheNextFrameOrTheClose) {
    FrameStore store;
    store.publish("one", "{}");
    EXPECT_EQ(store.waitNewer(0, std::chrono::milliseconds(0))->sequence, 1u);
    EXPECT_FALSE(store.waitNewer(1, std::chrono::milliseconds(20)));
    std::thread publisher([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        store.publish("two", "{}");
    });
    auto next = store.waitNewer(1, std::chrono::seconds(10));
    publisher.join();
    ASSERT_TRUE(next);
    EXPECT_EQ(*next->image, "two");
    std::thread closer([&] { store.close(); });
    EXPECT_FALSE(store.waitNewer(2, std::chrono::seconds(10)));
    closer.join();
    EXPECT_TRUE(store.closed());
}

TEST(MainThreadQueue, ACallIsAnsweredWhenTheMainThreadRunsItAndDroppedWhenItCloses) {
    MainThreadQueue queue;
    std::optional<int> answer;
    std::thread caller([&] { answer = queue.call<int>([] { return 42; }, std::chrono::seconds(10)); });
    while (!queue.hasPending())
        std::this_thread::yield();
    queue.runPending();
    caller.join();
    EXPECT_EQ(answer, 42);

    std::optional<int> dropped = 1;
    auto started = std::chrono::steady_clock::now();
    std::thread waiting([&] { dropped = queue.call<int>([] { return 7; }, std::chrono::seconds(30)); });
    while (!queue.hasPending())
        std::this_thread::yield();
    queue.close();
    waiting.join();
    EXPECT_FALSE(dropped);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    EXPECT_FALSE(queue.call<int>([] { return 8; }, std::chrono::seconds(30)));
}

TEST(NavigationPath, ReadsThePaneAndTheRowsFromAPosition) {
    auto path = NavigationPath::parse("prefs:root=My%20Pane&path=Advanced%20Options/Sub%2FPage");
    EXPECT_EQ(path.paneLabel, "My Pane");
    EXPECT_EQ(path.rowIdentifiers, (std::vector<std::string>{"Advanced Options", "Sub/Page"}));
    EXPECT_EQ(NavigationPath::parse("prefs:root=Corvale").rowIdentifiers.size(), 0u);
    EXPECT_FALSE(NavigationPath::parse("prefs:").paneLabel);
    EXPECT_FALSE(NavigationPath::parse("").paneLabel);
    EXPECT_FALSE(NavigationPath::parse("https:root=x").paneLabel);
}

TEST(PreviewCommandLine, TakesTheDeviceAndScreenOptions) {
    auto line = PreviewCommandLine::parse({"--port", "8080", "--os=13.0", "--appearance", "dark", "--screen",
                                           "428x926", "--scale", "2", "--size-class", "regular", "--pane",
                                           "Corvale", "--installed-schemes", "twitter,mailto"});
    ASSERT_EQ(line.action, PreviewCommandLine::Action::run) << line.usageError;
    EXPECT_EQ(line.port, 8080);
    EXPECT_EQ(line.device.osVersion->majorVersion, 13);
    EXPECT_EQ(line.screenSize->width, 428);
    EXPECT_EQ(line.scale, 2.0);
    EXPECT_EQ(line.sizeClass, platform::SimulatedDevice::SizeClass::Regular);
    EXPECT_EQ(line.pane, "Corvale");
    EXPECT_EQ(line.device.installedSchemes->size(), 2u);
    EXPECT_EQ(PreviewCommandLine::parse({}).port, 0);
    // Without --manifest-server the preview serves the example manifest itself.
    EXPECT_FALSE(PreviewCommandLine::parse({}).manifestServer);
    EXPECT_EQ(PreviewCommandLine::parse({"--manifest-server", "http://127.0.0.1:9000"}).manifestServer,
              "http://127.0.0.1:9000");
}

TEST(PreviewCommandLine, RejectsWhatItCannotUse) {
    const std::vector<std::vector<std::string_view>> rejected = {{"--port", "70000"},
                                                                 {"--port", "1.5"},
                                                                 {"--scale", "5"},
                                                                 {"--screen", "390"},
                                                                 {"--size-class", "huge"},
                                                                 {"--os", "12.4", "--appearance", "dark"},
                                                                 {"dump"},
                                                                 {"--pane"},
                                                                 {"--frobnicate", "1"}};
    for (const auto& arguments : rejected)
        EXPECT_EQ(PreviewCommandLine::parse(arguments).action, PreviewCommandLine::Action::reportUsageError)
            << arguments.front();
    EXPECT_EQ(PreviewCommandLine::parse({"--help"}).action, PreviewCommandLine::Action::showHelp);
}
