#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "tests/settings/credits/CreditsTestServer.h"
#include "tests/settings/credits/CreditsTestSupport.h"
#include "settings/credits/KVCorvaleSettingsCreditsImageManager.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLSession.h"
#include "platform/foundation/SerialDispatchQueue.h"
#include "platform/foundation/RunLoop.h"
#include "tests/support/TemporaryDeviceRoot.h"

using namespace credits_test;
using namespace std::chrono_literals;
using ImageManager = KVCorvaleSettingsCreditsImageManager;
using Paths = std::vector<std::string>;
using Widths = std::vector<std::uint32_t>;

namespace {

constexpr const char* assetsDirectory =
    "/var/mobile/Library/Application Support/HalcyraMobileSupport/Preferences/Assets";

std::string assetPath(const std::string& name) {
    return std::string(assetsDirectory) + "/" + name;
}

Value variant(const std::string& url, const std::string& hash) {
    return Value::dictionary({{"url", url}, {"hash", hash}});
}

// Keeps the shared session's delegate queue busy until released, so completions queue up behind it.
class SessionQueueHold {
public:
    SessionQueueHold() : m_state(std::make_shared<State>()) {
        dispatch_async(NSURLSession::sharedSession()->delegateQueue(), [state = m_state] {
            std::unique_lock lock(state->mutex);
            state->held = true;
            state->changed.notify_all();
            state->changed.wait_for(lock, 20s, [&] { return state->released; });
        });
        std::unique_lock lock(m_state->mutex);
        m_state->changed.wait_for(lock, 20s, [&] { return m_state->held; });
    }
    ~SessionQueueHold() { release(); }
    SessionQueueHold(const SessionQueueHold&) = delete;
    SessionQueueHold& operator=(const SessionQueueHold&) = delete;

    void release() {
        std::lock_guard lock(m_state->mutex);
        m_state->released = true;
        m_state->changed.notify_all();
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        bool held = false;
        bool released = false;
    };
    std::shared_ptr<State> m_state;
};

class CreditsImageManagerTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start());
        environment = std::make_unique<CreditsEnvironment>(server.baseURL());
        platform::SimulatedDevice::setScreenScale(2);
        manager = ImageManager::init();
        ASSERT_TRUE(manager);
        manager->setDelegate(recorder);
    }

    void serve(const std::string& name, const std::string& bytes, const std::string& hash,
               const std::string& header = "X-Asset-Hash") {
        server.answer("/credits/asset/" + name, {200, bytes, {{header, hash}}, "image/png"});
    }

    void cache(const std::string& name, const std::string& bytes, const std::string& hash) const {
        root.writeFile(assetPath(name), bytes);
        root.writeFile(assetPath(name) + ".json", R"({"hash":")" + hash + "\"}");
    }

    // Serves the logo to its end; the widths delivered inside startFetchingAsset, which are the
    // ones delivered on the main thread (downloads deliver on the session's queue, maybe before
    // startFetchingAsset has even returned).
    Widths fetch(const Value& logo) {
        auto before = recorder->deliveries().size();
        manager->startFetchingAsset(logo);
        EXPECT_TRUE(waitUntilSettled(*manager));
        auto all = recorder->deliveries();
        Widths synchronous;
        for (auto delivery = all.begin() + static_cast<std::ptrdiff_t>(before); delivery != all.end();
             ++delivery)
            if (delivery->onMainThread)
                synchronous.push_back(delivery->width);
        return synchronous;
    }

    TemporaryDeviceRoot root;
    CreditsTestServer server;
    std::unique_ptr<CreditsEnvironment> environment;
    std::shared_ptr<ImageDelegateRecorder> recorder = std::make_shared<ImageDelegateRecorder>();
    std::shared_ptr<ImageManager> manager;
};

} // namespace

TEST_F(CreditsImageManagerTest, ACurrentCacheIsShownAtOnceWithoutARequest) {
    cache("ada@2x.png", pngPicture(12, 12), "h1");
    EXPECT_EQ(fetch(Value::dictionary({{"2x", variant("ada@2x.png", "h1")}})), Widths{12});
    EXPECT_EQ(recorder->widths(), Widths{12});
    EXPECT_TRUE(recorder->deliveries()[0].onMainThread);
    EXPECT_TRUE(server.paths().empty());
    EXPECT_FALSE(manager->fetchTask());
}

TEST_F(CreditsImageManagerTest, AStaleCacheIsShownThenReplacedByTheDownload) {
    auto fresh = pngPicture(20, 20);
    cache("ada@2x.png", pngPicture(10, 10), "old");
    serve("ada@2x.png", fresh, "served");
    EXPECT_EQ(fetch(Value::dictionary({{"2x", variant("ada@2x.png", "new")}})), Widths{10});

    EXPECT_EQ(server.paths(), Paths{"/credits/asset/ada@2x.png"});
    EXPECT_EQ(recorder->widths(), (Widths{10, 20}));
    EXPECT_FALSE(recorder->deliveries()[1].onMainThread);
    // The bytes as sent, and the hash the server sent with them (not the one announced).
    EXPECT_EQ(root.readFile(assetPath("ada@2x.png")), fresh);
    EXPECT_EQ(root.readFile(assetPath("ada@2x.png.json")), R"({"hash":"served"})");
    EXPECT_FALSE(manager->fetchTask()) << "a finished download is forgotten";
}

TEST_F(CreditsImageManagerTest, NothingCachedDownloadsOnceThenTheCacheServes) {
    serve("ada@2x.png", pngPicture(20, 20), "h2");
    auto logo = Value::dictionary({{"2x", variant("ada@2x.png", "h2")}});
    EXPECT_TRUE(fetch(logo).empty());
    EXPECT_EQ(recorder->widths(), Widths{20});

    server.forgetPaths();
    EXPECT_EQ(fetch(logo), Widths{20});
    EXPECT_TRUE(server.paths().empty());

    // A variant without "hash" is never current: the cached copy, then a download.
    EXPECT_EQ(fetch(Value::dictionary({{"2x", Value::dictionary({{"url", "ada@2x.png"}})}})), Widths{20});
    EXPECT_EQ(server.paths(), Paths{"/credits/asset/ada@2x.png"});
    EXPECT_EQ(recorder->widths(), (Widths{20, 20, 20, 20}));
}

TEST_F(CreditsImageManagerTest, AnswersWithoutTheHeaderOrAPictureDeliverNilAndCacheNothing) {
    // No header at all, a header spelled another way, a body that is not a picture, a 404.
    server.answer("/credits/asset/bare.png", {200, pngPicture(8, 8), {}, "image/png"});
    serve("spelled.png", pngPicture(8, 8), "h", "X-ASSET-HASH");
    serve("text.png", "not a picture", "h");
    for (const char* name : {"bare.png", "spelled.png", "text.png", "missing.png"}) {
        EXPECT_TRUE(fetch(Value::dictionary({{"default", variant(name, "h")}})).empty()) << name;
        EXPECT_EQ(recorder->widths().back(), 0u) << name;
        EXPECT_FALSE(std::filesystem::exists(root.hostPath(assetPath(name)))) << name;
        EXPECT_FALSE(std::filesystem::exists(root.hostPath(assetPath(name) + ".json"))) << name;
    }
    EXPECT_EQ(recorder->widths(), (Widths{0, 0, 0, 0}));

    // With a stale copy cached: that copy, then nil, and the copy stays on disk.
    auto old = pngPicture(10, 10);
    cache("text.png", old, "old");
    EXPECT_EQ(fetch(Value::dictionary({{"default", variant("text.png", "new")}})), Widths{10});
    EXPECT_EQ(recorder->widths().back(), 0u);
    EXPECT_EQ(root.readFile(assetPath("text.png")), old);
    EXPECT_EQ(root.readFile(assetPath("text.png.json")), R"({"hash":"old"})");
}

TEST_F(CreditsImageManagerTest, TheLowerCaseHeaderIsAccepted) {
    serve("ada.png", pngPicture(16, 16), "lower", "x-asset-hash");
    EXPECT_TRUE(fetch(Value::dictionary({{"default", variant("ada.png", "lower")}})).empty());
    EXPECT_EQ(recorder->widths(), Widths{16});
    EXPECT_EQ(root.readFile(assetPath("ada.png.json")), R"({"hash":"lower"})");
}

TEST_F(CreditsImageManagerTest, TransportFailuresDeliverNothingMore) {
    cache("ada.png", pngPicture(10, 10), "old");
    CreditsTestServer closed;
    ASSERT_TRUE(closed.start());
    auto closedURL = closed.baseURL();
    closed.stop();
    environment->setServer(closedURL);

    EXPECT_EQ(fetch(Value::dictionary({{"default", variant("ada.png", "new")}})), Widths{10});
    drainSessionQueue();
    EXPECT_EQ(recorder->widths(), Widths{10});
    auto task = manager->fetchTask();
    ASSERT_TRUE(task) << "a download that got no answer stays the manager's task";
    EXPECT_EQ(task->state(), NSURLSessionTaskState::Completed);
}

TEST_F(CreditsImageManagerTest, TheVariantFollowsTheScreenScaleElseDefault) {
    for (const char* name : {"a@2x.png", "a.png", "a@1.5x.png"})
        serve(name, pngPicture(4, 4), "h");
    auto twoAndDefault =
        Value::dictionary({{"2x", variant("a@2x.png", "x")}, {"default", variant("a.png", "x")}});
    auto threeAndDefault =
        Value::dictionary({{"3x", variant("a@3x.png", "x")}, {"default", variant("a.png", "x")}});
    auto fractional =
        Value::dictionary({{"1.5x", variant("a@1.5x.png", "x")}, {"default", variant("a.png", "x")}});

    fetch(twoAndDefault);
    fetch(threeAndDefault);
    platform::SimulatedDevice::setScreenScale(1.5);
    fetch(fractional);
    EXPECT_EQ(server.paths(),
              (Paths{"/credits/asset/a@2x.png", "/credits/asset/a.png", "/credits/asset/a@1.5x.png"}));
    EXPECT_EQ(manager->assetInfo(), variant("a@1.5x.png", "x"));
}

TEST_F(CreditsImageManagerTest, LogosWithoutAUsableVariantDoNothing) {
    cache("a.png", pngPicture(4, 4), "h");
    for (const Value& logo :
         {Value::dictionary({{"3x", variant("a.png", "h")}}), Value(), Value("a.png"),
          Value::array({variant("a.png", "h")}), Value::dictionary({{"2x", Value("a.png")}}),
          Value::dictionary({{"2x", Value()}, {"default", variant("a.png", "h")}})}) {
        EXPECT_TRUE(fetch(logo).empty()) << logo.description();
        EXPECT_TRUE(manager->assetInfo().isNull()) << logo.description();
    }
    EXPECT_TRUE(recorder->widths().empty());
    EXPECT_TRUE(server.paths().empty());
}

TEST_F(CreditsImageManagerTest, UnsafeAssetNamesAreRefusedWithNil) {
    // A picture waiting where "../escape.png" would lead, with the announced hash: reading it would
    // deliver it.
    root.writeFile("/var/mobile/Library/Application Support/HalcyraMobileSupport/Preferences/escape.png",
                   pngPicture(9, 9));
    root.writeFile("/var/mobile/Library/Application Support/HalcyraMobileSupport/Preferences/escape.png.json",
                   R"({"hash":"h"})");
    serve("..", pngPicture(9, 9), "h");
    const std::vector<std::string> refused = {"",
                                              ".",
                                              "..",
                                              "../escape.png",
                                              "a/b.png",
                                              "a/../b.png",
                                              std::string("nul\0.png", 8),
                                              std::string(256, 'n')};
    for (const auto& name : refused) {
        auto before = recorder->widths().size();
        EXPECT_TRUE(fetch(Value::dictionary({{"2x", variant(name, "h")}})) == Widths{0}) << name;
        EXPECT_EQ(recorder->widths().size(), before + 1) << name;
    }
    // A missing or non-string "url" is no name either.
    EXPECT_EQ(fetch(Value::dictionary({{"2x", Value::dictionary({{"hash", "h"}})}})), Widths{0});
    EXPECT_EQ(fetch(Value::dictionary({{"2x", Value::dictionary({{"url", 5}})}})), Widths{0});
    EXPECT_TRUE(server.paths().empty());

    // The longest acceptable name is asked for.
    fetch(Value::dictionary({{"2x", variant(std::string(255, 'n'), "h")}}));
    EXPECT_EQ(server.paths(), Paths{"/credits/asset/" + std::string(255, 'n')});
}

TEST_F(CreditsImageManagerTest, ACachedPictureThatNoLongerDecodesIsNeitherShownNorFetched) {
    cache("ada@2x.png", "garbage", "h1");
    EXPECT_TRUE(fetch(Value::dictionary({{"2x", variant("ada@2x.png", "h1")}})).empty());
    EXPECT_TRUE(recorder->widths().empty());
    EXPECT_TRUE(server.paths().empty());

    // Cache files that are unreadable or say nothing useful count as nothing cached.
    serve("b.png", pngPicture(6, 6), "h1");
    for (const char* info : {"not json", "{}", R"({"hash":7})", R"(["h1"])"}) {
        root.writeFile(assetPath("b.png"), pngPicture(3, 3));
        root.writeFile(assetPath("b.png.json"), info);
        EXPECT_TRUE(fetch(Value::dictionary({{"2x", variant("b.png", "h1")}})).empty()) << info;
        EXPECT_EQ(recorder->widths().back(), 6u) << info;
    }
}

TEST_F(CreditsImageManagerTest, ANewAssetCancelsTheRunningDownload) {
    serve("slow.png", pngPicture(30, 30), "s");
    cache("quick.png", pngPicture(12, 12), "q");
    server.hold();
    manager->startFetchingAsset(Value::dictionary({{"2x", variant("slow.png", "s")}}));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return server.waitingCount() == 1; }, 20s));
    auto slowTask = manager->fetchTask();
    ASSERT_TRUE(slowTask);

    manager->startFetchingAsset(Value::dictionary({{"2x", variant("quick.png", "q")}}));
    EXPECT_NE(slowTask->state(), NSURLSessionTaskState::Running);
    server.release();
    ASSERT_TRUE(waitUntilSettled(*manager));
    EXPECT_EQ(recorder->widths(), Widths{12});
    EXPECT_FALSE(std::filesystem::exists(root.hostPath(assetPath("slow.png"))));
}

TEST_F(CreditsImageManagerTest, AnAnswerForAnEarlierVariantIsDropped) {
    // The answer has to arrive after the manager moved on but before the task could be cancelled:
    // the session's queue is held so the finished transfer waits there, undelivered, and the test
    // moves on once the session has queued its handler.
    cache("now.png", pngPicture(12, 12), "n");
    serve("earlier.png", pngPicture(30, 30), "e");
    const auto sessionQueue =
        std::dynamic_pointer_cast<platform::SerialDispatchQueue>(NSURLSession::sharedSession()->delegateQueue());
    ASSERT_NE(sessionQueue, nullptr);
    SessionQueueHold hold;
    const auto waitingBefore = sessionQueue->waitingBlocks();
    auto before = recorder->widths().size();
    manager->startFetchingAsset(Value::dictionary({{"2x", variant("earlier.png", "e")}}));
    // The earlier answer has been received and its handler waits behind the hold.
    ASSERT_TRUE(platform::RunLoop::main().runUntil(
        [&] { return server.paths().size() == 1 && sessionQueue->waitingBlocks() > waitingBefore; }, 20s));

    manager->startFetchingAsset(Value::dictionary({{"2x", variant("now.png", "n")}}));
    hold.release();
    drainSessionQueue();
    auto widths = recorder->widths();
    EXPECT_EQ(Widths(widths.begin() + static_cast<std::ptrdiff_t>(before), widths.end()), Widths{12});
    // The answer was handled (not cancelled) when it left the picture in the cache.
    EXPECT_TRUE(std::filesystem::exists(root.hostPath(assetPath("earlier.png"))));
}

TEST_F(CreditsImageManagerTest, AddressesAndAnAssetsDirectoryThatCannotBeMade) {
    EXPECT_EQ(ImageManager::assetsURL()->path(), assetsDirectory);
    EXPECT_TRUE(ImageManager::assetsURL()->isFileURL());
    EXPECT_EQ(ImageManager::URLForAssetNamed("ada@2x.png")->path(), assetPath("ada@2x.png"));
    EXPECT_EQ(ImageManager::infoURLForAssetNamed("ada@2x.png")->path(), assetPath("ada@2x.png.json"));
    EXPECT_EQ(ImageManager::remoteURLForAssetNamed("ada@2x.png")->absoluteString(),
              server.baseURL() + "/credits/asset/ada@2x.png");

    std::filesystem::remove_all(root.hostPath(assetsDirectory));
    root.writeFile(assetsDirectory, "a file in the way");
    platform::LogCapture log;
    EXPECT_FALSE(ImageManager::init());
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0].rfind("KVSettings couldn't create assets directory: ", 0), 0u) << log.lines()[0];
}

TEST_F(CreditsImageManagerTest, PicturesAreDecodedAtTheSideTheyAreShownAndCachedAsSent) {
    // Shown 58 points square on a 2x screen: just enough pixels to cover 116 x 116.
    manager->setPictureSide(58);
    auto wide = pngPicture(400, 200);
    serve("wide@2x.png", wide, "h");
    auto logo = Value::dictionary({{"2x", variant("wide@2x.png", "h")}});
    EXPECT_TRUE(fetch(logo).empty());
    EXPECT_EQ(recorder->widths(), Widths{232});
    EXPECT_EQ(root.readFile(assetPath("wide@2x.png")), wide) << "the cache keeps the server's bytes";
    EXPECT_EQ(fetch(logo), Widths{232}) << "the cached copy is reduced the same way";

    // Without a side, only a longest side of 1024 pixels.
    auto other = ImageManager::init();
    other->setDelegate(recorder);
    serve("long@2x.png", pngPicture(1500, 100), "h");
    other->startFetchingAsset(Value::dictionary({{"2x", variant("long@2x.png", "h")}}));
    EXPECT_TRUE(waitUntilSettled(*other));
    EXPECT_EQ(recorder->widths(), (Widths{232, 232, 1024}));
}
