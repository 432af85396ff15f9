// One frame of the live preview as its main loop makes it, at scale 2 on a 390x844 screen: the
// example pane's first page drawn and encoded, at rest and while its title view swaps; the drawing and
// the encoding apart, with the PNG that `render` writes beside the preview's JPEG; the panel's state
// (the page's dump); and the SpringBoard tab's follow alert with its name cloud, drawn and encoded.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "hosts/devserver/DevServer.h"
#include "hosts/preview/FrameEncoder.h"
#include "hosts/preview/PreviewSession.h"
#include "hosts/preview/SpringBoardSession.h"
#include "hosts/settings/SystemServices.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/render/ScreenRenderer.h"
#include "platform/uikit/PngEncoder.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIWindow.h"
#include "platform/uikit/ViewAnimator.h"
#include "tests/support/ProcessRun.h"
#include "tests/support/TemporaryDeviceRoot.h"

namespace {

// The pane as it is installed on a device, in a fresh device root, opened the way the preview opens it.
struct InstalledPreview {
    TemporaryDeviceRoot root;
    std::unique_ptr<corvale::preview::PreviewSession> session;

    bool open() {
        if (!ProcessRun::installComponent(CORVALE_CMAKE_COMMAND, CORVALE_BINARY_DIR, "CorvaleSettings",
                                          root.path()))
            return false;
        // Credits are asked of a closed loopback port: they fail at once and never leave the machine.
        setenv("CORVALE_CREDITS_SERVER", "http://127.0.0.1:9", 1);
        platform::SimulatedDevice::setScreenScale(2);
        platform::SimulatedDevice::setApplicationIdentifier("com.apple.Preferences");
        corvale::settingshost::SystemServices::registerClasses({});
        session = std::make_unique<corvale::preview::PreviewSession>(std::nullopt);
        return true;
    }
};

void BM_PreviewFrame(benchmark::State& state) {
    InstalledPreview preview;
    if (!preview.open()) {
        state.SkipWithError("the pane could not be installed");
        return;
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto frame = corvale::preview::FrameEncoder::encode(*preview.session->drawScreen());
        bytes = frame.size();
        benchmark::DoNotOptimize(frame.data());
    }
    state.counters["KiB"] = static_cast<double>(bytes) / 1024;
}

// Scrolled past the header's title, the navigation bar's icon fades out and the title slides in (and
// back on the way up), so every frame has views with partial alpha and transforms.
void BM_PreviewFrameDuringTitleSwap(benchmark::State& state) {
    InstalledPreview preview;
    if (!preview.open()) {
        state.SkipWithError("the pane could not be installed");
        return;
    }
    bool down = true;
    for (auto _ : state) {
        state.PauseTiming();
        if (platform::ViewAnimator::shared().runningAnimationCount() == 0) {
            preview.session->perform({{"type", "scroll"}, {"by", down ? 250 : -250}});
            down = !down;
        }
        platform::RunLoop::main().runOnce();
        state.ResumeTiming();
        benchmark::DoNotOptimize(
            corvale::preview::FrameEncoder::encode(*preview.session->drawScreen()).data());
    }
}

void BM_PreviewFrameDrawOnly(benchmark::State& state) {
    InstalledPreview preview;
    if (!preview.open()) {
        state.SkipWithError("the pane could not be installed");
        return;
    }
    auto window = UIApplication::sharedApplication()->keyWindow();
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::render::renderWindow(*window, 2));
}

// The first page drawn once, encoded as the preview's frame (0) or as the PNG `render` writes (1).
void BM_PreviewFrameEncodeOnly(benchmark::State& state) {
    InstalledPreview preview;
    if (!preview.open()) {
        state.SkipWithError("the pane could not be installed");
        return;
    }
    auto canvas = platform::render::renderWindow(*UIApplication::sharedApplication()->keyWindow(), 2);
    std::size_t bytes = 0;
    for (auto _ : state) {
        if (state.range(0) == 0) {
            bytes = corvale::preview::FrameEncoder::encode(*canvas).size();
        } else {
            bytes = platform::PngEncoder::encode(canvas->toBitmap()).size();
        }
    }
    state.counters["KiB"] = static_cast<double>(bytes) / 1024;
}

void BM_PreviewPanelState(benchmark::State& state) {
    InstalledPreview preview;
    if (!preview.open()) {
        state.SkipWithError("the pane could not be installed");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(preview.session->state().dump());
}

// libmerrow installed, its manifest served from the example content, and the alert brought up the way
// the SpringBoard tab's Launch and Unlock do. Made once per process: the library, once loaded, stays,
// and a second copy from another device root would hook SpringBoard over the first.
struct FollowAlertPreview {
    TemporaryDeviceRoot root;
    std::unique_ptr<corvale::devserver::DevServer> server;
    corvale::preview::SpringBoardSession session;

    bool open() {
        if (!ProcessRun::installComponent(CORVALE_CMAKE_COMMAND, CORVALE_BINARY_DIR, "libmerrow",
                                          root.path()))
            return false;
        corvale::devserver::DevServerOptions options;
        options.contentFolder = MERROW_EXAMPLE_CONTENT;
        server = std::make_unique<corvale::devserver::DevServer>(options);
        if (!server->start(0))
            return false;
        setenv("MERROW_MANIFEST_SERVER", server->baseURL().c_str(), 1);
        platform::SimulatedDevice::setInstalledURLSchemes({"twitter"});
        platform::SimulatedDevice::setScreenScale(2);
        session.activate();
        return session.perform({{"type", "launch"}})["ok"] == true &&
               session.perform({{"type", "unlock"}})["ok"] == true && session.moving();
    }
};

FollowAlertPreview* openFollowAlert() {
    static auto* preview = [] {
        auto* made = new FollowAlertPreview;
        return made->open() ? made : nullptr;
    }();
    return preview;
}

void BM_PreviewFollowAlertFrame(benchmark::State& state) {
    auto* preview = openFollowAlert();
    if (!preview) {
        state.SkipWithError("the follow alert did not come up");
        return;
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        // The cloud moves between frames, as it does while the page watches.
        state.PauseTiming();
        platform::RunLoop::main().runOnce();
        state.ResumeTiming();
        auto frame = corvale::preview::FrameEncoder::encode(*preview->session.drawScreen());
        bytes = frame.size();
        benchmark::DoNotOptimize(frame.data());
    }
    state.counters["KiB"] = static_cast<double>(bytes) / 1024;
}

} // namespace

BENCHMARK(BM_PreviewFollowAlertFrame)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PreviewFrame)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_PreviewFrameDuringTitleSwap)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PreviewFrameDrawOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewFrameEncodeOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewPanelState)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
