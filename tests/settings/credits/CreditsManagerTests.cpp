#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/settings/credits/CreditsTestServer.h"
#include "tests/settings/credits/CreditsTestSupport.h"
#include "settings/credits/KVCorvaleSettingsCreditsManager.h"
#include "platform/foundation/NSJSONSerialization.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/RunLoop.h"
#include "tests/support/TemporaryDeviceRoot.h"

using namespace credits_test;
using namespace std::chrono_literals;
using Manager = KVCorvaleSettingsCreditsManager;
using Paths = std::vector<std::string>;

namespace {

constexpr const char* cachePath =
    "/var/mobile/Library/Application Support/HalcyraMobileSupport/Preferences/Corvale.json";

Value parse(const std::string& text) {
    return NSJSONSerialization::JSONObjectWithData(text).value_or(Value());
}

std::string compact(const Value& value) {
    return NSJSONSerialization::dataWithJSONObject(value).value_or("<not JSON>");
}

// The cache a download of creditsAnswer(hash) leaves behind.
std::string cachedCredits(const std::string& hash) {
    Value cache = parse(creditsAnswer(hash));
    cache.remove("success");
    return compact(cache);
}

class CreditsManagerTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start());
        environment = std::make_unique<CreditsEnvironment>(server.baseURL());
    }

    // A manager for "Corvale" with the recorder as its delegate.
    std::shared_ptr<Manager> makeManager() {
        auto manager = Manager::initWithTweakName("Corvale");
        if (manager)
            manager->setDelegate(recorder);
        return manager;
    }

    // Runs startFetch to its end; how many calls came inside it, which are the ones made on the
    // main thread (server answers may arrive on the session's queue before it has returned).
    std::size_t fetch(Manager& manager) {
        auto before = recorder->count();
        manager.startFetch();
        EXPECT_TRUE(waitUntilSettled(manager));
        auto calls = recorder->calls();
        return static_cast<std::size_t>(std::count_if(calls.begin() + static_cast<std::ptrdiff_t>(before),
                                                      calls.end(),
                                                      [](const auto& call) { return call.onMainThread; }));
    }

    void writeCache(const std::string& contents) const { root.writeFile(cachePath, contents); }
    std::string cache() const { return root.readFile(cachePath); }

    TemporaryDeviceRoot root;
    CreditsTestServer server;
    std::unique_ptr<CreditsEnvironment> environment;
    std::shared_ptr<CreditsDelegateRecorder> recorder = std::make_shared<CreditsDelegateRecorder>();
};

} // namespace

TEST_F(CreditsManagerTest, AFirstRunDownloadsOnceAndCachesTheAnswerWithoutSuccess) {
    server.answerJSON("/credits/Corvale", creditsAnswer("H1"));
    auto manager = makeManager();
    ASSERT_TRUE(manager);
    EXPECT_EQ(fetch(*manager), 0u);

    EXPECT_EQ(server.paths(), Paths{"/credits/Corvale"});
    ASSERT_EQ(recorder->sequence(), "load");
    auto call = recorder->calls()[0];
    EXPECT_EQ(call.credits, expectedCredits());
    EXPECT_EQ(call.links, expectedLinks());
    EXPECT_FALSE(call.onMainThread) << "server answers arrive on the session's queue, as they are";
    EXPECT_EQ(call.manager, manager.get());

    // Compact JSON of everything but "success", unknown keys included.
    EXPECT_EQ(cache(), cachedCredits("H1"));
    EXPECT_FALSE(parse(cache()).contains("success"));
    EXPECT_TRUE(parse(cache()).contains("kept"));
}

TEST_F(CreditsManagerTest, AnUnchangedHashDeliversTheCacheAloneAndDownloadsNothing) {
    writeCache(cachedCredits("H1"));
    server.answerJSON("/credits/Corvale/hash", R"({"hash":"H1","other":1})");
    server.answerJSON("/credits/Corvale", creditsAnswer("H1"));
    auto manager = makeManager();
    EXPECT_EQ(fetch(*manager), 1u) << "the cached copy comes before startFetch returns";

    EXPECT_EQ(server.paths(), Paths{"/credits/Corvale/hash"});
    ASSERT_EQ(recorder->sequence(), "load");
    auto call = recorder->calls()[0];
    EXPECT_TRUE(call.onMainThread);
    EXPECT_EQ(call.credits, expectedCredits());
    EXPECT_EQ(call.links, expectedLinks());
}

TEST_F(CreditsManagerTest, AHashDifferingOnlyInLetterCaseIsANewVersion) {
    writeCache(cachedCredits("abc"));
    server.answerJSON("/credits/Corvale/hash", R"({"hash":"ABC"})");
    server.answerJSON("/credits/Corvale", creditsAnswer("ABC"));
    auto manager = makeManager();
    EXPECT_EQ(fetch(*manager), 1u);

    EXPECT_EQ(server.paths(), (Paths{"/credits/Corvale/hash", "/credits/Corvale"}));
    ASSERT_EQ(recorder->sequence(), "load, load");
    EXPECT_TRUE(recorder->calls()[0].onMainThread);
    EXPECT_FALSE(recorder->calls()[1].onMainThread);
    EXPECT_EQ(cache(), cachedCredits("ABC"));
}

TEST_F(CreditsManagerTest, FailuresAfterTheCachedCopyLeaveTheCacheAlone) {
    writeCache(cachedCredits("old"));
    auto manager = makeManager();

    // The hash answer fails: no "hash" (nil error), a parse failure, a top level that is no object,
    // a "hash" that is no string.
    struct Case {
        const char* hashAnswer;
        bool expectsError;
    };
    for (const Case& failing : {Case{"{}", false}, Case{"not json", true}, Case{"[\"old\"]", true},
                                Case{R"({"hash":12})", false}}) {
        server.answerJSON("/credits/Corvale/hash", failing.hashAnswer);
        server.forgetPaths();
        EXPECT_EQ(fetch(*manager), 1u);
        EXPECT_EQ(server.paths(), Paths{"/credits/Corvale/hash"}) << failing.hashAnswer;
        auto calls = recorder->calls();
        ASSERT_GE(calls.size(), 2u);
        EXPECT_TRUE(calls[calls.size() - 2].loaded) << failing.hashAnswer;
        EXPECT_FALSE(calls.back().loaded) << failing.hashAnswer;
        EXPECT_EQ(calls.back().error != nullptr, failing.expectsError) << failing.hashAnswer;
    }
    EXPECT_EQ(recorder->count(), 8u);

    // The hash changed but the download fails: a parse error, whatever the status.
    server.answerJSON("/credits/Corvale/hash", R"({"hash":"new"})");
    server.answer("/credits/Corvale", {500, "<html>oops</html>", {}, "text/html"});
    server.forgetPaths();
    EXPECT_EQ(fetch(*manager), 1u);
    EXPECT_EQ(server.paths(), (Paths{"/credits/Corvale/hash", "/credits/Corvale"}));
    auto last = recorder->calls().back();
    EXPECT_FALSE(last.loaded);
    ASSERT_TRUE(last.error);
    EXPECT_EQ(last.error->domain(), NSCocoaErrorDomain);
    EXPECT_EQ(cache(), cachedCredits("old"));
}

TEST_F(CreditsManagerTest, WithoutAUsableCacheFailuresAreTheOnlyCall) {
    // Caches that do not count: unparsable, no object, no "hash", a "hash" that is no string.
    for (const char* unusable :
         {"{\"hash\":", "[1,2]", R"({"credits":[]})", R"({"hash":null,"credits":[]})"}) {
        writeCache(unusable);
        server.answerJSON("/credits/Corvale", R"({"success":true,"credits":[]})");
        server.forgetPaths();
        auto recorded = recorder->count();
        auto manager = makeManager();
        EXPECT_EQ(fetch(*manager), 0u) << unusable;
        EXPECT_EQ(server.paths(), Paths{"/credits/Corvale"}) << unusable;
        ASSERT_EQ(recorder->count(), recorded + 1);
        auto call = recorder->calls().back();
        EXPECT_FALSE(call.loaded);
        EXPECT_FALSE(call.error) << "an answer without \"hash\" fails without an error";
        EXPECT_EQ(cache(), unusable) << "a failed download does not touch the cache";
    }

    // An answer whose top level is not an object is a failure with an error.
    root.writeFile(cachePath, "");
    server.answerJSON("/credits/Corvale", R"(["hash","credits"])");
    auto manager = makeManager();
    fetch(*manager);
    auto call = recorder->calls().back();
    EXPECT_FALSE(call.loaded);
    ASSERT_TRUE(call.error);

    // A transport failure hands on the session's error.
    CreditsTestServer closed;
    ASSERT_TRUE(closed.start());
    auto closedURL = closed.baseURL();
    closed.stop();
    environment->setServer(closedURL);
    auto unreachable = makeManager();
    fetch(*unreachable);
    call = recorder->calls().back();
    EXPECT_FALSE(call.loaded);
    ASSERT_TRUE(call.error);
    EXPECT_EQ(call.error->domain(), NSURLErrorDomain);
    EXPECT_EQ(call.error->code(), NSURLErrorCannotConnectToHost) << call.error->description();
}

TEST_F(CreditsManagerTest, CreditsOrLinksThatAreMissingOrNotArraysArriveAsNil) {
    server.answerJSON("/credits/Corvale", R"({"success":true,"hash":"h","credits":[{"name":"Ada"}]})");
    auto manager = makeManager();
    fetch(*manager);
    ASSERT_EQ(recorder->sequence(), "load");
    EXPECT_EQ(recorder->calls()[0].credits, Value::array({Value::dictionary({{"name", "Ada"}})}));
    EXPECT_TRUE(recorder->calls()[0].links.isNull());
    EXPECT_EQ(cache(), R"({"credits":[{"name":"Ada"}],"hash":"h"})");

    // The cached copy is read the same way.
    writeCache(R"({"hash":"h","credits":{"name":"Ada"},"links":"https://halcyra.example/"})");
    server.answerJSON("/credits/Corvale/hash", R"({"hash":"h"})");
    EXPECT_EQ(fetch(*manager), 1u);
    EXPECT_TRUE(recorder->calls()[1].credits.isNull());
    EXPECT_TRUE(recorder->calls()[1].links.isNull());
}

TEST_F(CreditsManagerTest, StartFetchWhileARequestRunsIsIgnored) {
    server.answerJSON("/credits/Corvale", creditsAnswer("H1"));
    server.hold();
    auto manager = makeManager();
    manager->startFetch();
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return server.waitingCount() == 1; }, 20s));
    EXPECT_TRUE(manager->inProgress());
    manager->startFetch();
    manager->startFetch();
    server.release();
    ASSERT_TRUE(waitUntilSettled(*manager));
    EXPECT_EQ(server.paths(), Paths{"/credits/Corvale"});
    EXPECT_EQ(recorder->sequence(), "load");
    EXPECT_FALSE(manager->inProgress());

    // Once it has ended, the next startFetch runs again (from the cache it wrote).
    server.answerJSON("/credits/Corvale/hash", R"({"hash":"H1"})");
    EXPECT_EQ(fetch(*manager), 1u);
}

TEST_F(CreditsManagerTest, ARequestOutlivesItsManagerAndStillWritesTheCache) {
    server.answerJSON("/credits/Corvale", creditsAnswer("H1"));
    server.hold();
    auto manager = makeManager();
    manager->startFetch();
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return server.waitingCount() == 1; }, 20s));
    std::weak_ptr<Manager> watched = manager;
    manager.reset();
    recorder.reset();
    EXPECT_FALSE(watched.expired()) << "the running request keeps its manager";
    server.release();
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return watched.expired(); }, 20s));
    drainSessionQueue();
    EXPECT_EQ(cache(), cachedCredits("H1"));
}

TEST_F(CreditsManagerTest, AddressesAndClearingTheCache) {
    auto base = server.baseURL();
    EXPECT_EQ(Manager::remoteCreditsURLForTweakName("Corvale")->absoluteString(), base + "/credits/Corvale");
    EXPECT_EQ(Manager::remoteCreditsHashURLForTweakName("Corvale")->absoluteString(),
              base + "/credits/Corvale/hash");
    EXPECT_EQ(Manager::creditsURLForTweakName("Corvale")->path(), cachePath);
    EXPECT_TRUE(Manager::creditsURLForTweakName("Corvale")->isFileURL());

    environment->setServer("https://credits.halcyra.example/");
    EXPECT_EQ(Manager::remoteCreditsURLForTweakName("Corvale")->absoluteString(),
              "https://credits.halcyra.example/credits/Corvale");
    ::unsetenv("CORVALE_CREDITS_SERVER");
    EXPECT_EQ(Manager::remoteCreditsHashURLForTweakName("X")->absoluteString(),
              "https://credits.halcyra.example/credits/X/hash");
    EXPECT_FALSE(Manager::remoteCreditsURLForTweakName("two words"));

    auto manager = makeManager();
    writeCache(cachedCredits("H1"));
    manager->clearLocalStorage();
    EXPECT_FALSE(std::filesystem::exists(root.hostPath(cachePath)));
    manager->clearLocalStorage();
}

TEST_F(CreditsManagerTest, ASupportDirectoryThatCannotBeMadeMeansNoManager) {
    root.writeFile("/var/mobile/Library/Application Support/HalcyraMobileSupport", "a file in the way");
    platform::LogCapture log;
    EXPECT_FALSE(Manager::initWithTweakName("Corvale"));
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0].rfind("KVSettings couldn't create credits directory: ", 0), 0u)
        << log.lines()[0];
    EXPECT_GT(log.lines()[0].size(), std::string("KVSettings couldn't create credits directory: ").size());
    EXPECT_TRUE(server.paths().empty());
}
