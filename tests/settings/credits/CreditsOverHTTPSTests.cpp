#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/settings/credits/CreditsTestSupport.h"
#include "settings/credits/KVCorvaleSettingsCreditsImageManager.h"
#include "settings/credits/KVCorvaleSettingsCreditsManager.h"
#include "hosts/devserver/DevServer.h"
#include "platform/foundation/NSJSONSerialization.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/RunLoop.h"
#include "tests/support/TemporaryDeviceRoot.h"

using corvale::devserver::DevServer;
using corvale::devserver::DevServerOptions;
using namespace credits_test;
using namespace std::chrono_literals;

namespace {

constexpr const char* servedCredits = R"({
    "credits": [{
        "name": "Ada Quill", "position": "Developer",
        "logo": {"default": {"url": "ada.png"}, "2x": {"url": "ada@2x.png"}},
        "services": [{"service": "github", "username": "adaq"}]
    }],
    "links": [{"title": "Website", "url": "https://halcyra.example/"}]
})";

void writeHostFile(const std::filesystem::path& file, const std::string& contents) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << contents;
}

// The paths in the dev server's request log, in the order they were answered.
std::vector<std::string> loggedPaths(const std::filesystem::path& log) {
    std::vector<std::string> paths;
    std::ifstream stream(log);
    for (std::string line; std::getline(stream, line);)
        paths.push_back(
            NSJSONSerialization::JSONObjectWithData(line).value_or(Value())["path"].stringValue());
    return paths;
}

} // namespace

TEST(CreditsOverHTTPS, TheWholeExchangeRunsOverTLSWithTheDevServersCertificate) {
    TemporaryDeviceRoot root;
    auto content = root.path() / "server-content";
    writeHostFile(content / "credits/Corvale.json", servedCredits);
    writeHostFile(content / "assets/ada.png", pngPicture(10, 10));
    writeHostFile(content / "assets/ada@2x.png", pngPicture(20, 20));

    DevServerOptions options;
    options.contentFolder = content;
    options.useTLS = true;
    options.certificateOutput = root.path() / "devserver.pem";
    options.requestLog = root.path() / "requests.log";
    DevServer server(options);
    std::string problem;
    ASSERT_TRUE(server.start(0, &problem)) << problem;
    ASSERT_EQ(server.baseURL().rfind("https://", 0), 0u);

    CreditsEnvironment environment(server.baseURL());
    environment.trustCertificateFile(options.certificateOutput.string());
    platform::SimulatedDevice::setScreenScale(2);

    // Cold start: the full credits, cached.
    auto recorder = std::make_shared<CreditsDelegateRecorder>();
    auto cold = KVCorvaleSettingsCreditsManager::initWithTweakName("Corvale");
    ASSERT_TRUE(cold);
    cold->setDelegate(recorder);
    cold->startFetch();
    ASSERT_TRUE(waitUntilSettled(*cold));
    ASSERT_EQ(recorder->sequence(), "load") << (recorder->calls().empty() || !recorder->calls()[0].error
                                                    ? ""
                                                    : recorder->calls()[0].error->description());
    auto credits = recorder->calls()[0].credits;
    ASSERT_EQ(credits.count(), 1u);
    EXPECT_EQ(credits[0]["name"].stringValue(), "Ada Quill");

    // The avatar for a 2x screen, with the hash the server announced in the credits.
    auto images = std::make_shared<ImageDelegateRecorder>();
    auto imageManager = KVCorvaleSettingsCreditsImageManager::init();
    ASSERT_TRUE(imageManager);
    imageManager->setDelegate(images);
    const Value& logo = credits[0]["logo"];
    ASSERT_TRUE(logo["2x"]["hash"].isString());
    imageManager->startFetchingAsset(logo);
    ASSERT_TRUE(waitUntilSettled(*imageManager));
    EXPECT_EQ(images->widths(), std::vector<std::uint32_t>{20});
    imageManager->startFetchingAsset(logo);
    EXPECT_EQ(images->widths(), (std::vector<std::uint32_t>{20, 20})) << "the second time from the cache";

    // Warm start: the cached copy and the hash, which has not changed.
    auto warm = KVCorvaleSettingsCreditsManager::initWithTweakName("Corvale");
    warm->setDelegate(recorder);
    warm->startFetch();
    EXPECT_EQ(recorder->count(), 2u);
    EXPECT_TRUE(recorder->calls()[1].onMainThread);
    ASSERT_TRUE(waitUntilSettled(*warm));
    EXPECT_EQ(recorder->sequence(), "load, load");
    EXPECT_EQ(recorder->calls()[1].credits, credits);

    EXPECT_EQ(
        loggedPaths(options.requestLog),
        (std::vector<std::string>{"/credits/Corvale", "/credits/asset/ada@2x.png", "/credits/Corvale/hash"}));
}

TEST(CreditsOverHTTPS, PlainHTTPToAHostThatIsNotLoopbackFailsWithoutAConnection) {
    TemporaryDeviceRoot root;
    CreditsEnvironment environment("http://credits.halcyra.example");
    auto recorder = std::make_shared<CreditsDelegateRecorder>();
    auto manager = KVCorvaleSettingsCreditsManager::initWithTweakName("Corvale");
    manager->setDelegate(recorder);
    manager->startFetch();
    ASSERT_TRUE(waitUntilSettled(*manager));
    ASSERT_EQ(recorder->sequence(), "fail");
    auto error = recorder->calls()[0].error;
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), NSURLErrorDomain);
    EXPECT_EQ(error->code(), NSURLErrorAppTransportSecurityRequiresSecureConnection) << error->description();

    auto images = std::make_shared<ImageDelegateRecorder>();
    auto imageManager = KVCorvaleSettingsCreditsImageManager::init();
    imageManager->setDelegate(images);
    imageManager->startFetchingAsset(
        Value::dictionary({{"default", Value::dictionary({{"url", "ada.png"}})}}));
    ASSERT_TRUE(waitUntilSettled(*imageManager));
    EXPECT_TRUE(images->widths().empty()) << "a refused transfer has no response, so nothing is delivered";
}
