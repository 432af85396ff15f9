// The manifest download: once per process while it runs or has succeeded, again after a failure,
// and only manifests an alert can be built from are held.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "tests/followprompt/FollowPromptTestSupport.h"
#include "followprompt/alert/MerrowManifest.h"
#include "followprompt/alert/ZRMerrowAlertController.h"
#include "followprompt/alert/ZRMerrowAlertCoordinator.h"
#include "hosts/devserver/DevServer.h"
#include "platform/foundation/RunLoop.h"

namespace {

using corvale::devserver::DevServer;
using corvale::devserver::DevServerOptions;

class CoordinatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("merrow-coordinator-" + std::to_string(::getpid()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder / "content" / "merrow");
        DevServerOptions options;
        options.contentFolder = folder / "content";
        options.requestLog = folder / "requests.log";
        server = std::make_unique<DevServer>(options);
        ASSERT_TRUE(server->start(0));
        ::setenv("MERROW_MANIFEST_SERVER", (server->baseURL() + "/").c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("MERROW_MANIFEST_SERVER");
        server->stop();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    void serve(const std::string& manifest) const {
        std::ofstream(folder / "content" / "merrow" / "manifest.json") << manifest;
    }
    int manifestRequests() const {
        std::ifstream log(folder / "requests.log");
        int count = 0;
        for (std::string line; std::getline(log, line);)
            count += line.find("/static/app/merrow/manifest.json") != std::string::npos;
        return count;
    }
    static bool settle(const ZRMerrowAlertCoordinatorPtr& coordinator) {
        return platform::RunLoop::main().runUntil([&] { return !coordinator->isDownloadInProgress(); },
                                                  std::chrono::seconds(10));
    }

    std::filesystem::path folder;
    std::unique_ptr<DevServer> server;
    DeviceStateGuard device;
};

TEST_F(CoordinatorTest, OneDownloadAtATimeAndNoneOnceHeld) {
    serve(R"({"alert": {"body": "Follow us.", "rejection_title": "Later"}})");
    auto coordinator = std::make_shared<ZRMerrowAlertCoordinator>();
    EXPECT_FALSE(coordinator->canPresentAlert());
    EXPECT_EQ(coordinator->getAlertController(), nullptr) << "nothing before the manifest";
    coordinator->startDownloadingManifestIfNeeded();
    coordinator->startDownloadingManifestIfNeeded();
    ASSERT_TRUE(settle(coordinator));
    EXPECT_TRUE(coordinator->canPresentAlert());
    EXPECT_EQ(manifestRequests(), 1);

    coordinator->startDownloadingManifestIfNeeded();
    EXPECT_FALSE(coordinator->isDownloadInProgress());
    ASSERT_TRUE(settle(coordinator));
    EXPECT_EQ(manifestRequests(), 1) << "a held manifest is never fetched again";

    auto first = coordinator->getAlertController();
    auto second = coordinator->getAlertController();
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second) << "a new alert every time";
    EXPECT_EQ(first->actions().back()->title(), "Later");
    EXPECT_EQ(first->manifest()["alert"]["body"].asString(), "Follow us.");
}

TEST_F(CoordinatorTest, FailedOrRejectedDownloadsLeaveNothingAndMayBeRetried) {
    const char* rejected[] = {
        "",                                                  // missing file: 404 with a JSON body
        "{not json",                                         // unparsable
        R"(["alert"])",                                      // not an object
        R"({"alert": "Follow us"})",                         // alert not an object
        R"({"alert": {"rejection_title": "Later"}})",        // no body
        R"({"alert": {"body": 3, "rejection_title": "x"}})", // body not a string
        R"({"alert": {"body": "Follow us."}})",              // no rejection title
    };
    auto coordinator = std::make_shared<ZRMerrowAlertCoordinator>();
    int expectedRequests = 0;
    for (const char* manifest : rejected) {
        SCOPED_TRACE(manifest);
        if (*manifest)
            serve(manifest);
        coordinator->startDownloadingManifestIfNeeded();
        ASSERT_TRUE(settle(coordinator));
        EXPECT_EQ(manifestRequests(), ++expectedRequests) << "each failure allows the next attempt";
        EXPECT_FALSE(coordinator->canPresentAlert());
        EXPECT_TRUE(coordinator->heldManifest().isNull());
    }
    serve(R"({"alert": {"body": "Now.", "rejection_title": "Later", "title": 7}})");
    coordinator->startDownloadingManifestIfNeeded();
    ASSERT_TRUE(settle(coordinator));
    EXPECT_TRUE(coordinator->canPresentAlert()) << "optional values of the wrong type do not reject";
    EXPECT_EQ(coordinator->getAlertController()->title(), "");
}

TEST_F(CoordinatorTest, AManifestOverItsCapIsAFailure) {
    // A valid manifest, padded past 256 KB: a real one is a few kilobytes.
    const std::string padded =
        R"({"alert": {"body": "Follow us.", "rejection_title": "Later"}, "padding": ")" +
        std::string(256 * 1024, 'p') + R"("})";
    serve(padded);
    auto coordinator = std::make_shared<ZRMerrowAlertCoordinator>();
    coordinator->startDownloadingManifestIfNeeded();
    ASSERT_TRUE(settle(coordinator));
    EXPECT_FALSE(coordinator->canPresentAlert());

    serve(padded.substr(0, 200 * 1024) + R"("})");
    coordinator->startDownloadingManifestIfNeeded();
    ASSERT_TRUE(settle(coordinator));
    EXPECT_TRUE(coordinator->canPresentAlert()) << "200 KB is within the cap";
}

TEST_F(CoordinatorTest, AnUnreachableServerIsAFailure) {
    ::setenv("MERROW_MANIFEST_SERVER", "http://127.0.0.1:1", 1);
    auto coordinator = std::make_shared<ZRMerrowAlertCoordinator>();
    coordinator->startDownloadingManifestIfNeeded();
    ASSERT_TRUE(settle(coordinator));
    EXPECT_FALSE(coordinator->canPresentAlert());

    ::setenv("MERROW_MANIFEST_SERVER", "not a server", 1);
    coordinator->startDownloadingManifestIfNeeded();
    EXPECT_FALSE(coordinator->isDownloadInProgress()) << "no URL, no download";
    ::unsetenv("MERROW_MANIFEST_SERVER");
    EXPECT_EQ(merrow::manifestURL()->absoluteString(),
              "https://halcyra.example/static/app/merrow/manifest.json");
}

TEST(CoordinatorSingleton, OneSharedInstance) {
    EXPECT_EQ(ZRMerrowAlertCoordinator::sharedCoordinator(), ZRMerrowAlertCoordinator::sharedCoordinator());
    EXPECT_NE(ZRMerrowAlertCoordinator::sharedCoordinator(), nullptr);
}

} // namespace
