#include "hosts/springboard/TweakLoader.h"

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/PropertyList.h"

namespace corvale::springboardhost {

namespace {

constexpr const char* substrateFolder = "/Library/MobileSubstrate/DynamicLibraries";

bool filterNames(const Value& filter, const std::string& bundleIdentifier) {
    const auto& bundles = filter["Filter"]["Bundles"].asArray();
    return std::any_of(bundles.begin(), bundles.end(), [&](const Value& bundle) {
        return bundle.isString() && bundle.asString() == bundleIdentifier;
    });
}

// The library beside a filter plist: the same name with the platform's library suffix.
std::filesystem::path libraryFor(const std::filesystem::path& filterPath) {
    for (const char* suffix : {".so", ".dylib"}) {
        auto candidate = filterPath;
        candidate.replace_extension(suffix);
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error))
            return candidate;
    }
    return {};
}

} // namespace

TweakLoader::Result TweakLoader::loadLibrariesFor(const std::string& bundleIdentifier) {
    Result result;
    std::error_code error;
    std::vector<std::filesystem::path> filters;
    for (const auto& entry :
         std::filesystem::directory_iterator(platform::DeviceRoot::resolve(substrateFolder), error))
        if (entry.path().extension() == ".plist")
            filters.push_back(entry.path());
    std::sort(filters.begin(), filters.end());
    for (const auto& filterPath : filters) {
        const std::string devicePath = std::string(substrateFolder) + "/" + filterPath.filename().string();
        auto filter = platform::PropertyList::readFile(devicePath);
        if (!filter || !filterNames(*filter, bundleIdentifier))
            continue;
        auto library = libraryFor(filterPath);
        if (library.empty()) {
            result.problems.push_back(devicePath + ": no library beside the filter");
            continue;
        }
        if (!dlopen(library.c_str(), RTLD_NOW | RTLD_GLOBAL)) {
            const char* reason = dlerror();
            result.problems.push_back(library.filename().string() + ": " +
                                      (reason ? reason : "cannot be opened"));
            continue;
        }
        result.loaded.push_back(library.filename().string());
    }
    return result;
}

} // namespace corvale::springboardhost
