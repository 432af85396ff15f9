// The follow prompt's name cloud: one display frame with the example's 18 names drifting, and an
// initial spawn (nine names placed by best-of-ten sampling), with and without the entrance animation.
#include <benchmark/benchmark.h>

#include <string>

#include "followprompt/alert/ZRMerrowAlertHeaderAnimatedBackgroundView.h"
#include "platform/foundation/ManualClock.h"
#include "platform/foundation/RandomSource.h"
#include "platform/foundation/RunLoop.h"

namespace {

Value eighteenNames() {
    Value::Array items;
    for (int index = 0; index < 18; ++index)
        items.push_back(
            Value::dictionary({{"name", "Name" + std::to_string(index)}, {"prominence", 1 + index % 3}}));
    return Value(items);
}

std::shared_ptr<ZRMerrowAlertHeaderAnimatedBackgroundView> makeCloud() {
    auto cloud = std::make_shared<ZRMerrowAlertHeaderAnimatedBackgroundView>();
    cloud->initWithFrame(CGRectMake(0, 0, 270, 160), eighteenNames());
    return cloud;
}

void BM_CloudFrame(benchmark::State& state) {
    platform::ScopedManualClock clock(100);
    platform::RandomSource::seed(1);
    auto cloud = makeCloud();
    cloud->spawnInitialItemsAnimated(false);
    cloud->tick();
    for (auto _ : state) {
        clock.advance(1.0 / 60);
        cloud->tick();
    }
    benchmark::DoNotOptimize(cloud->currentNodes().size());
}
BENCHMARK(BM_CloudFrame);

void BM_InitialSpawn(benchmark::State& state) {
    const bool animated = state.range(0) != 0;
    platform::ScopedManualClock clock(100);
    platform::RandomSource::seed(1);
    auto cloud = makeCloud();
    for (auto _ : state) {
        cloud->spawnInitialItemsAnimated(animated);
        if (animated) {
            // Let the entrance finish so that animations do not pile up between iterations.
            state.PauseTiming();
            clock.advance(2);
            platform::RunLoop::main().runUntilIdle();
            state.ResumeTiming();
        }
    }
    benchmark::DoNotOptimize(cloud->currentNodes().size());
}
BENCHMARK(BM_InitialSpawn)->Arg(0)->Arg(1)->ArgName("animated");

} // namespace

BENCHMARK_MAIN();
