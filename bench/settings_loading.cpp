// The loading pass of a settings page on a large generated list: property-list parse, version
// requirements, notification wiring and the visibility state.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/preferences/PSSpecifier.h"
#include "settings/rootpage/KVCorvaleSettingsController.h"
#include "tests/support/TemporaryDeviceRoot.h"

namespace {

constexpr const char* bundlePath = "/Library/PreferenceBundles/Bench.bundle";

// Every fifth row opens a group; the rest are switches of which a third are gated on the version,
// a quarter depend on an earlier switch, and some are notification buttons.
Value generatedRow(int index) {
    const std::string label = "Row " + std::to_string(index);
    if (index % 5 == 0)
        return Value::dictionary({{"cell", "PSGroupCell"}, {"label", label}, {"footerText", "Footer"}});
    if (index % 7 == 0)
        return Value::dictionary(
            {{"cell", "PSButtonCell"}, {"label", label}, {"PostNotification", "dev.example.bench/reload"}});
    Value row = Value::dictionary({{"cell", "PSSwitchCell"},
                                   {"label", label},
                                   {"key", "key" + std::to_string(index)},
                                   {"defaults", "dev.example.bench"},
                                   {"default", index % 2 == 0}});
    if (index % 3 == 0)
        row.set("OSRequirement", Value(index % 2 ? "major >= 13 AND minor >= 0" : "major < 13 OR patch > 5"));
    if (index % 4 == 1 && index > 10)
        row.set("DependsOn", Value("key" + std::to_string(index - 9)));
    return row;
}

void writeBundle(const TemporaryDeviceRoot& root, int rows) {
    Value items = Value::array();
    for (int index = 0; index < rows; ++index)
        items.append(generatedRow(index));
    const Value info =
        Value::dictionary({{"CFBundleIdentifier", "dev.example.bench"}, {"KVTweakName", "Bench"}});
    root.writeFile(std::string(bundlePath) + "/Info.plist", *platform::PropertyList::toXML(info));
    root.writeFile(std::string(bundlePath) + "/Bench.plist",
                   *platform::PropertyList::toXML(Value::dictionary({{"items", items}})));
}

void BM_LoadingPass(benchmark::State& state) {
    TemporaryDeviceRoot root;
    platform::SimulatedDevice::setOSVersion({13, 4, 1});
    writeBundle(root, static_cast<int>(state.range(0)));
    auto page = std::make_shared<KVCorvaleSettingsController>();
    auto opening =
        PSSpecifier::preferenceSpecifierNamed("Bench", nullptr, "", "", nullptr, PSLinkCell, nullptr);
    opening->setProperty(Value("Bench"), "bundle");
    page->setSpecifier(opening);
    page->setBundle(NSBundle::bundleWithPath(bundlePath));
    for (auto _ : state) {
        page->_loadSpecifiers();
        benchmark::DoNotOptimize(page->specifiers());
    }
    state.counters["rows"] = static_cast<double>(page->specifiers()->size());
}
BENCHMARK(BM_LoadingPass)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The parse alone, to see what share of the pass the property-list reader takes.
void BM_PropertyListRead(benchmark::State& state) {
    TemporaryDeviceRoot root;
    writeBundle(root, static_cast<int>(state.range(0)));
    const std::string path = std::string(bundlePath) + "/Bench.plist";
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::PropertyList::readFile(path));
}
BENCHMARK(BM_PropertyListRead)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
