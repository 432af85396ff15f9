// The credits image manager: a cache hit (info file and picture read, picture decoded, no request)
// against a download from the dev server on loopback (request, decode, both cache files written).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>

#include "settings/credits/KVCorvaleSettingsCreditsImageManager.h"
#include "hosts/devserver/DevServer.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSURLSession.h"
#include "platform/foundation/NSURLSessionDataTask.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/uikit/UIImage.h"

namespace {

constexpr const char* assetsDirectory =
    "/var/mobile/Library/Application Support/HalcyraMobileSupport/Preferences/Assets";

// A 144-pixel avatar, the size of a 2x credit picture, with some detail so it does not compress to
// nothing.
std::string avatarPNG() {
    auto bitmap = platform::Bitmap::allocate(144, 144);
    for (std::uint32_t y = 0; y < 144; ++y)
        for (std::uint32_t x = 0; x < 144; ++x)
            bitmap->setPixel(x, y,
                             {static_cast<std::uint8_t>(x * 3 + y), static_cast<std::uint8_t>(y * 5),
                              static_cast<std::uint8_t>((x ^ y) * 7), 255});
    auto png = UIImagePNGRepresentation(
        UIImage::imageWithBitmap(std::make_shared<const platform::Bitmap>(std::move(*bitmap))));
    return png->stringValue();
}

class BenchmarkWorld {
public:
    BenchmarkWorld() {
        m_folder =
            std::filesystem::temp_directory_path() / ("corvale-bench-images-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_folder);
        auto picture = m_folder / "content/assets/avatar@2x.png";
        std::filesystem::create_directories(picture.parent_path());
        std::ofstream(picture, std::ios::binary) << avatarPNG();
        std::filesystem::create_directories(m_folder / "device");
        platform::DeviceRoot::setRoot(m_folder / "device");
        platform::SimulatedDevice::setScreenScale(2);

        corvale::devserver::DevServerOptions options;
        options.contentFolder = m_folder / "content";
        options.requestLog = m_folder / "requests.log";
        m_server = std::make_unique<corvale::devserver::DevServer>(options);
        m_running = m_server->start(0).has_value();
        ::setenv("CORVALE_CREDITS_SERVER", m_server->baseURL().c_str(), 1);
    }
    ~BenchmarkWorld() {
        m_server->stop();
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    bool running() const { return m_running; }
    long requestCount() const {
        std::ifstream log(m_folder / "requests.log");
        long lines = 0;
        for (std::string line; std::getline(log, line);)
            ++lines;
        return lines;
    }
    void forgetCachedPicture() const {
        std::error_code ignored;
        std::filesystem::remove(
            platform::DeviceRoot::resolve(std::string(assetsDirectory) + "/avatar@2x.png"), ignored);
        std::filesystem::remove(
            platform::DeviceRoot::resolve(std::string(assetsDirectory) + "/avatar@2x.png.json"), ignored);
    }

private:
    std::filesystem::path m_folder;
    std::unique_ptr<corvale::devserver::DevServer> m_server;
    bool m_running = false;
};

class CountingDelegate : public KVCorvaleSettingsCreditsImageManagerDelegate {
public:
    void creditsImageManagerDidLoadImage(const std::shared_ptr<KVCorvaleSettingsCreditsImageManager>&,
                                         const std::shared_ptr<UIImage>& image) override {
        ++(image ? images : nils);
    }
    std::atomic<int> images{0};
    std::atomic<int> nils{0};
};

// The logo with the hash the server gives the picture: what a current cache is checked against.
Value logoFor(const std::string& hash) {
    return Value::dictionary({{"2x", Value::dictionary({{"url", "avatar@2x.png"}, {"hash", hash}})}});
}

void waitUntilSettled(const KVCorvaleSettingsCreditsImageManager& manager) {
    if (auto task = manager.fetchTask())
        while (task->state() != NSURLSessionTaskState::Completed)
            std::this_thread::sleep_for(std::chrono::microseconds(20));
    dispatch_sync(NSURLSession::sharedSession()->delegateQueue(), [] {});
}

// Downloads the picture once; the hash it was stored with, or nothing.
std::optional<std::string> primeCache(KVCorvaleSettingsCreditsImageManager& manager) {
    manager.startFetchingAsset(logoFor("unknown"));
    waitUntilSettled(manager);
    auto info = NSData::dataWithContentsOfFile(std::string(assetsDirectory) + "/avatar@2x.png.json");
    if (!info)
        return std::nullopt;
    auto text = info->stringValue();
    auto start = text.find(":\"");
    auto end = text.rfind('"');
    if (start == std::string::npos || end <= start + 2)
        return std::nullopt;
    return text.substr(start + 2, end - start - 2);
}

void BM_ImageCacheHit(benchmark::State& state) {
    BenchmarkWorld world;
    auto delegate = std::make_shared<CountingDelegate>();
    auto manager = KVCorvaleSettingsCreditsImageManager::init();
    manager->setDelegate(delegate);
    auto hash = world.running() ? primeCache(*manager) : std::nullopt;
    if (!hash) {
        state.SkipWithError("could not fill the asset cache");
        return;
    }
    auto logo = logoFor(*hash);
    auto requestsBefore = world.requestCount();
    delegate->images = 0;
    for (auto _ : state)
        manager->startFetchingAsset(logo);
    if (delegate->images != static_cast<int>(state.iterations()) || world.requestCount() != requestsBefore)
        state.SkipWithError("a cache hit made a request or delivered no picture");
}

void BM_ImageDownload(benchmark::State& state) {
    BenchmarkWorld world;
    auto delegate = std::make_shared<CountingDelegate>();
    auto manager = KVCorvaleSettingsCreditsImageManager::init();
    manager->setDelegate(delegate);
    if (!world.running()) {
        state.SkipWithError("the dev server did not start");
        return;
    }
    auto logo = logoFor("never current");
    for (auto _ : state) {
        state.PauseTiming();
        world.forgetCachedPicture();
        state.ResumeTiming();
        manager->startFetchingAsset(logo);
        waitUntilSettled(*manager);
    }
    if (delegate->images != static_cast<int>(state.iterations()))
        state.SkipWithError("a download delivered no picture");
}

} // namespace

BENCHMARK(BM_ImageCacheHit)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ImageDownload)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
