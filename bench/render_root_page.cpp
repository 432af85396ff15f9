// Drawing the example pane's first page as the Settings app shows it, at the scale of a 3x phone:
// into memory, and on to PNG bytes.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/preferences/PSSpecifier.h"
#include "platform/render/ScreenRenderer.h"
#include "settings/rootpage/KVCorvaleSettingsController.h"
#include "tests/support/TemporaryDeviceRoot.h"
#include "platform/uikit/PngEncoder.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIWindow.h"

namespace {

constexpr const char* bundlePath = "/Library/PreferenceBundles/CorvaleSettings.bundle";

// The example bundle's lists and picture, copied into the device.
void installExampleLists(const TemporaryDeviceRoot& root) {
    auto examples = std::filesystem::path(__FILE__).parent_path().parent_path() / "examples" / "pane" /
                    "CorvaleSettings.bundle";
    for (const auto& file : std::filesystem::directory_iterator(examples))
        std::filesystem::copy_file(
            file.path(), root.hostPath(std::string(bundlePath) + "/" + file.path().filename().string()),
            std::filesystem::copy_options::overwrite_existing);
}

// The root page in a navigation controller in a visible window, as the Settings host opens it.
struct OpenPage {
    std::shared_ptr<UIWindow> window;
    std::shared_ptr<KVCorvaleSettingsController> page;
};

OpenPage openRootPage() {
    auto page = std::make_shared<KVCorvaleSettingsController>();
    auto opening =
        PSSpecifier::preferenceSpecifierNamed("Corvale", nullptr, "", "", nullptr, PSLinkCell, nullptr);
    opening->setProperty(Value("CorvaleSettings"), "bundle");
    page->setSpecifier(opening);
    page->setBundle(NSBundle::bundleWithPath(bundlePath));
    page->setTitle("Corvale");
    auto window = std::make_shared<UIWindow>();
    window->setRootViewController(UINavigationController::initWithRootViewController(page));
    window->makeKeyAndVisible();
    platform::RunLoop::main().runUntilIdle();
    return {window, page};
}

void BM_RenderRootPage(benchmark::State& state) {
    TemporaryDeviceRoot root;
    std::filesystem::create_directories(root.hostPath(bundlePath));
    installExampleLists(root);
    // Credits are asked of a closed loopback port: they fail at once and never leave the machine.
    setenv("CORVALE_CREDITS_SERVER", "http://127.0.0.1:9", 1);
    platform::SimulatedDevice::setOSVersion({14, 0, 0});
    auto open = openRootPage();
    bool encode = state.range(0) != 0;
    for (auto _ : state) {
        auto canvas = platform::render::renderWindow(*open.window, 3);
        if (!canvas) {
            state.SkipWithError("nothing drawn");
            break;
        }
        if (encode) {
            auto bytes = platform::PngEncoder::encode(canvas->toBitmap());
            benchmark::DoNotOptimize(bytes.data());
        }
        benchmark::DoNotOptimize(canvas->pixelAt(0, 0));
    }
    open.window->setRootViewController(nullptr);
}

} // namespace

BENCHMARK(BM_RenderRootPage)
    ->ArgName("png")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
