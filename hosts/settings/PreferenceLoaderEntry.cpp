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
    bool namesBundle = entry.isDictionary() && entry["bundle"].isString() && !entry["bundle"].asString().empty();
    bool holdsRows = entry.isDictionary() && !entry["bundle"].isString() && (*list)["items"].isArray();
    if (!namesBundle && !holdsRows) {
        report(problem, devicePath + " has no \"entry\" naming a \"bundle\", nor \"items\" of its own");
        return std::nullopt;
    }
    return PreferenceLoaderEntry{devicePath, entry, Value(*list)};
}

std::vector<PreferenceLoaderEntry> PreferenceLoaderEntry::findAll(std::string* problem) {
    std::vector<PreferenceLoaderEntry> entries;
    std::string lastProblem;
    for (const auto& name : entryFileNames())
        if (auto entry = read(std::string(entriesFolder) + "/" + name, &lastProblem))
            entries.push_back(std::move(*entry));
    if (entries.empty())
        report(problem, lastProblem.empty()
                            ? std::string("no pane is installed: ") + entriesFolder + " holds no entry"
                            : lastProblem);
    return entries;
}

} // namespace corvale::settingshost
