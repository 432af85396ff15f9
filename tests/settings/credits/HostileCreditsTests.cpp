// Credits managers facing a tweak name that would leave the support directory, answers too large for
// what they carry, and callers that wait for an exchange to be over.
#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <memory>
#include <string>

#include "platform/foundation/FoundationErrors.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/RunLoop.h"
#include "settings/credits/CreditsAnswer.h"
#include "settings/credits/CreditsLocations.h"
#include "settings/credits/KVCorvaleSettingsCreditsImageManager.h"
#include "settings/credits/KVCorvaleSettingsCreditsManager.h"
#include "tests/settings/credits/CreditsTestServer.h"
#include "tests/settings/credits/CreditsTestSupport.h"
#include "tests/support/TemporaryDeviceRoot.h"

using namespace credits_test;
using namespace std::chrono_literals;
using Manager = KVCorvaleSettingsCreditsManager;
using ImageManager = KVCorvaleSettingsCreditsImageManager;

namespace {

constexpr const char* supportDirectory =
    "/var/mobile/Library/Application Support/HalcyraMobileSupport/Preferences";
constexpr const char* escapingName = "../../../../../../../../Library/PreferenceLoader/Preferences/Pwned";
constexpr const char* escapedFile = "/Library/PreferenceLoader/Preferences/Pwned.json";

std::string cachePath(const std::string& tweakName) {
    return std::string(supportDirectory) + "/" + tweakName + ".json";
}

// Credits answer of about `length` bytes: one credit whose role is padded out.
std::string paddedAnswer(const std::string& hash, std::size_t length) {
    return R"({"hash":")" + hash + R"(","credits":[{"name":"Ada","position":")" + std::string(length, 'p') +
           R"("}],"links":[]})";
}

// A delegate that, on its first delivery from the session's queue, tells the test and then waits
// for it: the test looks at the manager while the answer is being handled.
class HoldingDelegate : public KVCorvaleSettingsCreditsManagerDelegate {
public:
    void creditsManagerDidLoadCreditsAndLinks(const std::shared_ptr<Manager>&, const Value&,
                                              const Value&) override {
        if (platform::isMainThread())
            return;
        reached.set_value();
        release.get_future().wait_for(20s);
    }
    void creditsManagerDidFailToLoadWithError(const std::shared_ptr<Manager>&, const NSErrorPtr&) override {}

    std::promise<void> reached;
    std::promise<void> release;
};

class HoldingImageDelegate : public KVCorvaleSettingsCreditsImageManagerDelegate {
public:
    void creditsImageManagerDidLoadImage(const std::shared_ptr<ImageManager>&,
                                         const std::shared_ptr<UIImage>&) override {
        if (platform::isMainThread())
            return;
        reached.set_value();
        release.get_future().wait_for(20s);
    }

    std::promise<void> reached;
    std::promise<void> release;
};

class HostileCreditsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start());
        environment = std::make_unique<CreditsEnvironment>(server.baseURL());
    }

    std::shared_ptr<Manager> makeManager(const std::string& tweakName) {
        auto manager = Manager::initWithTweakName(tweakName);
        if (manager)
            manager->setDelegate(recorder);
        return manager;
    }

    TemporaryDeviceRoot root;
    CreditsTestServer server;
    std::unique_ptr<CreditsEnvironment> environment;
    std::shared_ptr<CreditsDelegateRecorder> recorder = std::make_shared<CreditsDelegateRecorder>();
};

} // namespace

TEST_F(HostileCreditsTest, ATweakNameThatLeavesTheSupportDirectoryTouchesNoFileAndNoServer) {
    // A file where the name leads: it must be neither read as a cache nor removed.
    root.writeFile(escapedFile, R"({"hash":"H1","credits":[{"name":"Mallory"}]})");
    server.answerJSON(std::string("/credits/") + escapingName, creditsAnswer("H1"));
    auto manager = makeManager(escapingName);
    ASSERT_TRUE(manager);

    manager->startFetch();
    ASSERT_EQ(recorder->sequence(), "fail") << "reported at once, before startFetch returns";
    ASSERT_TRUE(recorder->calls()[0].error);
    EXPECT_EQ(recorder->calls()[0].error->code(), NSFileReadInvalidFileNameError);
    EXPECT_FALSE(manager->inProgress());
    manager->clearLocalStorage();
    drainSessionQueue();

    EXPECT_TRUE(server.paths().empty());
    EXPECT_EQ(root.readFile(escapedFile), R"({"hash":"H1","credits":[{"name":"Mallory"}]})");
    EXPECT_FALSE(Manager::creditsURLForTweakName(escapingName));
    EXPECT_FALSE(Manager::remoteCreditsURLForTweakName(escapingName));
    EXPECT_FALSE(Manager::remoteCreditsHashURLForTweakName(".."));
    EXPECT_FALSE(Manager::creditsURLForTweakName(std::string(251, 'n')))
        << "with \".json\" the name would pass the longest file name";
    EXPECT_TRUE(Manager::creditsURLForTweakName(std::string(250, 'n')));
}

TEST_F(HostileCreditsTest, NamesThatArePathsOrInfoFilesAreNoAssets) {
    EXPECT_TRUE(corvale::isAcceptableAssetName("avatar.png"));
    EXPECT_TRUE(corvale::isAcceptableAssetName("json"));
    for (const char* name : {"x.json", ".json", "a/b", "..", ".", ""})
        EXPECT_FALSE(corvale::isAcceptableAssetName(name)) << name;

    // "x.json" is the info file of "x": serving it would replace that asset's hash with a picture.
    auto manager = ImageManager::init();
    ASSERT_TRUE(manager);
    auto images = std::make_shared<ImageDelegateRecorder>();
    manager->setDelegate(images);
    manager->startFetchingAsset(
        Value::dictionary({{"default", Value::dictionary({{"url", "x.json"}, {"hash", "1"}})}}));
    ASSERT_TRUE(waitUntilSettled(*manager));
    EXPECT_EQ(images->widths(), (std::vector<std::uint32_t>{0}));
    EXPECT_TRUE(server.paths().empty());
}

TEST_F(HostileCreditsTest, ACreditsAnswerOrCacheOverTheCapIsRefused) {
    const std::size_t cap = corvale::maximumCreditsAnswerLength;
    server.answerJSON("/credits/Corvale", paddedAnswer("H2", cap));
    auto manager = makeManager("Corvale");
    manager->startFetch();
    ASSERT_TRUE(waitUntilSettled(*manager));
    ASSERT_EQ(recorder->sequence(), "fail");
    ASSERT_TRUE(recorder->calls()[0].error);
    EXPECT_EQ(recorder->calls()[0].error->code(), NSURLErrorDataLengthExceedsMaximum);
    EXPECT_FALSE(std::filesystem::exists(root.hostPath(cachePath("Corvale"))));

    // An answer that fits is taken; a cache file over the cap is not read, so the download follows.
    server.answerJSON("/credits/Corvale", paddedAnswer("H3", cap - 200));
    root.writeFile(cachePath("Corvale"), paddedAnswer("H1", cap));
    manager->startFetch();
    ASSERT_TRUE(waitUntilSettled(*manager));
    EXPECT_EQ(recorder->sequence(), "fail, load");
    EXPECT_EQ(server.paths().back(), "/credits/Corvale");
}

TEST_F(HostileCreditsTest, TheManagerStaysInProgressUntilItsAnswerIsHandled) {
    server.answerJSON("/credits/Corvale", creditsAnswer("H1"));
    auto manager = Manager::initWithTweakName("Corvale");
    auto holding = std::make_shared<HoldingDelegate>();
    manager->setDelegate(holding);
    manager->startFetch();
    ASSERT_EQ(holding->reached.get_future().wait_for(20s), std::future_status::ready);
    EXPECT_TRUE(manager->inProgress()) << "the answer is delivered but not yet cached";
    holding->release.set_value();
    ASSERT_TRUE(waitUntilSettled(*manager));
    EXPECT_FALSE(manager->inProgress());
    EXPECT_TRUE(std::filesystem::exists(root.hostPath(cachePath("Corvale"))));
}

TEST_F(HostileCreditsTest, APictureIsNotSettledWhileItsAnswerIsHandled) {
    platform::SimulatedDevice::setScreenScale(2);
    CreditsTestServer::Answer picture;
    picture.body = pngPicture(8, 8);
    picture.contentType = "image/png";
    picture.headers = {{"X-Asset-Hash", "P1"}};
    server.answer("/credits/asset/face.png", picture);

    auto manager = ImageManager::init();
    auto holding = std::make_shared<HoldingImageDelegate>();
    manager->setDelegate(holding);
    manager->startFetchingAsset(
        Value::dictionary({{"2x", Value::dictionary({{"url", "face.png"}, {"hash", "P1"}})}}));
    ASSERT_EQ(holding->reached.get_future().wait_for(20s), std::future_status::ready);
    EXPECT_FALSE(manager->downloadSettled()) << "decoded and delivered, not yet cached";
    holding->release.set_value();
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return manager->downloadSettled(); }, 20s));
    EXPECT_TRUE(
        std::filesystem::exists(root.hostPath(std::string(supportDirectory) + "/Assets/face.png.json")));
}

TEST_F(HostileCreditsTest, APictureOverItsCapIsNotDownloaded) {
    platform::SimulatedDevice::setScreenScale(2);
    CreditsTestServer::Answer picture;
    picture.body = std::string(corvale::maximumPictureLength + 1, 'x');
    picture.contentType = "image/png";
    picture.headers = {{"X-Asset-Hash", "P1"}};
    server.answer("/credits/asset/huge.png", picture);

    auto manager = ImageManager::init();
    auto images = std::make_shared<ImageDelegateRecorder>();
    manager->setDelegate(images);
    manager->startFetchingAsset(
        Value::dictionary({{"2x", Value::dictionary({{"url", "huge.png"}, {"hash", "P1"}})}}));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return manager->downloadSettled(); }, 20s));
    drainSessionQueue();
    EXPECT_TRUE(images->widths().empty()) << "a failed transfer delivers nothing";
    EXPECT_FALSE(std::filesystem::exists(root.hostPath(std::string(supportDirectory) + "/Assets/huge.png")));
}
