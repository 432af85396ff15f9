#include "hosts/settings/PreferenceLoaderEntry.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSDictionary.h"

namespace corvale::settingshost {

namespace {

void report(std::string* problem, std::string message) {
    if (problem)
        *problem = std::move(message);
}

std::vector<std::string> entryFileNames() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator(
             platform::DeviceRoot::resolve(PreferenceLoaderEntry::entriesFolder), error))
        if (file.path().extension() == ".plist")
            names.push_back(file.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

std::string PreferenceLoaderEntry::bundlePath() const {
    return std::string(bundlesFolder) + "/" + bundleName() + ".bundle";
}

std::optional<PreferenceLoaderEntry> PreferenceLoaderEntry::read(const std::string& devicePath,
                                                                 std::string* problem) {
    auto list = NSDictionary::dictionaryWithContentsOfFile(devicePath);
    if (!list) {
        report(problem, devicePath + " is not a property-list dictionary");
        return std::nullopt;
    }
    const Value& entry = (*list)["entry"];
    if (!entry.isDictionary() || !entry["bundle"].isString() || entry["bundle"].asString().empty()) {
        report(problem, devicePath + " has no \"entry\" naming a \"bundle\"");
        return std::nullopt;
    }
    return PreferenceLoaderEntry{devicePath, entry};
}

std::optional<PreferenceLoaderEntry> PreferenceLoaderEntry::find(std::string* problem) {
    std::string lastProblem;
    for (const auto& name : entryFileNames())
        if (auto entry = read(std::string(entriesFolder) + "/" + name, &lastProblem))
            return entry;
    report(problem, lastProblem.empty()
                        ? std::string("no pane is installed: ") + entriesFolder + " holds no entry"
                        : lastProblem);
    return std::nullopt;
}

} // namespace corvale::settingshost
