#include "platform/foundation/NSBundle.h"

#include "platform/runtime/ObjCRuntime.h"

#include <dlfcn.h>
#include <filesystem>
#include <map>
#include <system_error>

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/PropertyList.h"

namespace fs = std::filesystem;
using platform::DeviceRoot;

namespace {

[[maybe_unused]] const Class registeredNSBundle = platform::registerClass<NSBundle>("NSBundle");

void logBundleProblem(const std::string& bundlePath, const std::string& problem) {
    platform::logMessage("Error loading " + bundlePath + ": " + problem);
}

// Bundles by the host folder they live in, so that two device roots never share one.
struct BundleCache {
    std::mutex mutex;
    std::map<std::string, std::shared_ptr<NSBundle>, std::less<>> bundles;
};

BundleCache& bundleCache() {
    static BundleCache cache;
    return cache;
}

bool existsOnDevice(const std::string& devicePath) {
    std::error_code ignored;
    return fs::exists(DeviceRoot::resolve(devicePath), ignored);
}

} // namespace

NSBundle::NSBundle(std::string path, Value infoDictionary)
    : m_path(std::move(path)), m_infoDictionary(std::move(infoDictionary)) {}

std::shared_ptr<NSBundle> NSBundle::makeBundle(std::string_view path) {
    std::string devicePath = DeviceRoot::normalize(path);
    std::error_code ignored;
    if (!fs::is_directory(DeviceRoot::resolve(devicePath), ignored))
        return nullptr;
    auto info = platform::PropertyList::readFile(devicePath + "/Info.plist");
    if (!info || !info->isDictionary())
        return nullptr;
    return std::shared_ptr<NSBundle>(new NSBundle(std::move(devicePath), std::move(*info)));
}

std::shared_ptr<NSBundle> NSBundle::bundleWithPath(std::string_view path) {
    std::string key = DeviceRoot::resolve(path).string();
    auto& cache = bundleCache();
    {
        std::lock_guard lock(cache.mutex);
        if (auto found = cache.bundles.find(key); found != cache.bundles.end())
            return found->second;
    }
    // Read outside the lock; when two threads race, the first bundle stored wins.
    auto bundle = makeBundle(path);
    if (!bundle)
        return nullptr;
    std::lock_guard lock(cache.mutex);
    return cache.bundles.emplace(std::move(key), std::move(bundle)).first->second;
}

std::shared_ptr<NSBundle> NSBundle::bundleWithURL(const std::shared_ptr<NSURL>& url) {
    if (!url || !url->isFileURL())
        return nullptr;
    return bundleWithPath(url->path());
}

std::shared_ptr<NSURL> NSBundle::bundleURL() const {
    return NSURL::fileURLWithPath(m_path);
}

std::optional<std::string> NSBundle::bundleIdentifier() const {
    const Value& identifier = m_infoDictionary["CFBundleIdentifier"];
    if (!identifier.isString())
        return std::nullopt;
    return identifier.asString();
}

std::vector<std::string> NSBundle::resourceFolders() const {
    std::vector<std::string> folders{m_path};
    const Value& region = m_infoDictionary["CFBundleDevelopmentRegion"];
    std::string developmentRegion =
        region.isString() && !region.asString().empty() ? region.asString() : "en";
    folders.push_back(m_path + "/" + developmentRegion + ".lproj");
    folders.push_back(m_path + "/Base.lproj");
    return folders;
}

std::optional<std::string> NSBundle::pathForResource(std::string_view name, std::string_view type) const {
    if (name.empty())
        return std::nullopt;
    if (type.starts_with('.'))
        type.remove_prefix(1);
    std::string fileName(name);
    if (!type.empty())
        fileName += "." + std::string(type);
    for (const auto& folder : resourceFolders()) {
        std::string candidate = DeviceRoot::normalize(folder + "/" + fileName);
        if (existsOnDevice(candidate))
            return candidate;
    }
    return std::nullopt;
}

std::shared_ptr<NSURL> NSBundle::URLForResource(std::string_view name, std::string_view type) const {
    auto path = pathForResource(name, type);
    return path ? NSURL::fileURLWithPath(*path) : nullptr;
}

bool NSBundle::load() {
    std::lock_guard lock(m_loadMutex);
    if (m_loaded)
        return true;
    const Value& executable = m_infoDictionary["CFBundleExecutable"];
    if (!executable.isString() || executable.asString().empty()) {
        logBundleProblem(m_path, "no CFBundleExecutable in Info.plist");
        return false;
    }
    fs::path modulePath = DeviceRoot::resolve(m_path + "/" + executable.asString());
    std::error_code ignored;
    if (!fs::is_regular_file(modulePath, ignored)) {
        logBundleProblem(m_path, "executable " + executable.asString() + " is missing");
        return false;
    }
    // The module stays loaded for the life of the process: the classes it registered live on.
    if (!::dlopen(modulePath.c_str(), RTLD_NOW | RTLD_GLOBAL)) {
        const char* reason = ::dlerror();
        logBundleProblem(m_path, std::string("dlopen failed: ") + (reason ? reason : "unknown error"));
        return false;
    }
    m_loaded = true;
    return true;
}

Class NSBundle::principalClass() {
    if (!load())
        return nullptr;
    const Value& name = m_infoDictionary["NSPrincipalClass"];
    if (!name.isString() || name.asString().empty())
        return nullptr;
    return objc_getClass(name.asString());
}
