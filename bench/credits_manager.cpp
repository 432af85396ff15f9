// The credits manager against the dev server on loopback: a cold start (no cache: one full download,
// then the cache write) and a warm start (cache present and current: the cached copy delivered at
// once, then one hash request), and the part of the warm start the page waits for (the cached copy).
// All run in one program so their medians compare on one machine.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>

#include "settings/credits/KVCorvaleSettingsCreditsManager.h"
#include "hosts/devserver/DevServer.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSURLSession.h"

namespace {

// A device root and a dev-server content folder of their own, removed at the end.
class BenchmarkWorld {
public:
    BenchmarkWorld() {
        m_folder =
            std::filesystem::temp_directory_path() / ("corvale-bench-credits-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_folder);
        write("content/credits/Corvale.json", credits());
        platform::DeviceRoot::setRoot(m_folder / "device");
        std::filesystem::create_directories(m_folder / "device");

        corvale::devserver::DevServerOptions options;
        options.contentFolder = m_folder / "content";
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

private:
    // Credits of the size a real tweak has: a handful of people with a few accounts each.
    static std::string credits() {
        std::string people;
        for (int person = 0; person < 6; ++person) {
            auto name = "person" + std::to_string(person);
            people += std::string(person ? "," : "") + R"({"name":")" + name +
                      R"(","position":"Developer",)" + R"("logo":{"default":{"url":")" + name +
                      R"(.png"},"2x":{"url":")" + name + R"(@2x.png"},"3x":{"url":")" + name +
                      R"(@3x.png"}},)" + R"("services":[{"service":"twitter","username":")" + name +
                      R"("},)" + R"({"service":"github","username":")" + name + R"("},)" +
                      R"({"service":"email","username":")" + name + R"(@halcyra.example"}]})";
        }
        return R"({"credits":[)" + people +
               R"(],"links":[{"title":"Website","url":"https://halcyra.example/"},)"
               R"({"title":"Support","url":"mailto:support@halcyra.example"}]})";
    }

    void write(const std::string& relative, const std::string& contents) const {
        auto file = m_folder / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << contents;
    }

    std::filesystem::path m_folder;
    std::unique_ptr<corvale::devserver::DevServer> m_server;
    bool m_running = false;
};

class CountingDelegate : public KVCorvaleSettingsCreditsManagerDelegate {
public:
    void creditsManagerDidLoadCreditsAndLinks(const std::shared_ptr<KVCorvaleSettingsCreditsManager>&,
                                              const Value&, const Value&) override {
        ++loads;
    }
    void creditsManagerDidFailToLoadWithError(const std::shared_ptr<KVCorvaleSettingsCreditsManager>&,
                                              const NSErrorPtr&) override {
        ++failures;
    }
    std::atomic<int> loads{0};
    std::atomic<int> failures{0};
};

// Until the manager's request (and a download it may have started) has been handled.
void waitUntilSettled(const KVCorvaleSettingsCreditsManager& manager) {
    auto queue = NSURLSession::sharedSession()->delegateQueue();
    do {
        while (manager.inProgress())
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        dispatch_sync(queue, [] {});
    } while (manager.inProgress());
}

// One startFetch on a new manager, waited for to its end; false when it did not load exactly
// `expectedLoads` times without failing.
bool runOneFetch(const std::shared_ptr<CountingDelegate>& delegate, int expectedLoads) {
    delegate->loads = 0;
    auto manager = KVCorvaleSettingsCreditsManager::initWithTweakName("Corvale");
    if (!manager)
        return false;
    manager->setDelegate(delegate);
    manager->startFetch();
    waitUntilSettled(*manager);
    return delegate->loads == expectedLoads && delegate->failures == 0;
}

void BM_CreditsColdStart(benchmark::State& state) {
    BenchmarkWorld world;
    auto delegate = std::make_shared<CountingDelegate>();
    if (!world.running()) {
        state.SkipWithError("the dev server did not start");
        return;
    }
    auto cleaner = KVCorvaleSettingsCreditsManager::initWithTweakName("Corvale");
    for (auto _ : state) {
        state.PauseTiming();
        cleaner->clearLocalStorage();
        state.ResumeTiming();
        if (!runOneFetch(delegate, 1)) {
            state.SkipWithError("the cold start did not load the credits once");
            break;
        }
    }
}

void BM_CreditsWarmStart(benchmark::State& state) {
    BenchmarkWorld world;
    auto delegate = std::make_shared<CountingDelegate>();
    if (!world.running() || !runOneFetch(delegate, 1)) {
        state.SkipWithError("could not fill the cache");
        return;
    }
    for (auto _ : state) {
        // The cached copy only: the hash answer matches, so no second load.
        if (!runOneFetch(delegate, 1)) {
            state.SkipWithError("the warm start did not deliver the cache alone");
            break;
        }
    }
}

// What the page waits for on a warm start: startFetch returning with the cached copy delivered.
// The hash request it leaves running is waited for outside the timing.
void BM_CreditsWarmStartCachedDelivery(benchmark::State& state) {
    BenchmarkWorld world;
    auto delegate = std::make_shared<CountingDelegate>();
    if (!world.running() || !runOneFetch(delegate, 1)) {
        state.SkipWithError("could not fill the cache");
        return;
    }
    for (auto _ : state) {
        delegate->loads = 0;
        auto manager = KVCorvaleSettingsCreditsManager::initWithTweakName("Corvale");
        manager->setDelegate(delegate);
        manager->startFetch();
        state.PauseTiming();
        bool deliveredAtOnce = delegate->loads == 1;
        waitUntilSettled(*manager);
        state.ResumeTiming();
        if (!deliveredAtOnce) {
            state.SkipWithError("the cached copy did not come inside startFetch");
            break;
        }
    }
}

} // namespace

BENCHMARK(BM_CreditsColdStart)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_CreditsWarmStart)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
// Each iteration also waits, untimed, for its hash request; a fixed count keeps the run short.
BENCHMARK(BM_CreditsWarmStartCachedDelivery)
    ->Iterations(40)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
