#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Value.h"
#include "platform/runtime/ObjCRuntime.h"

class NSURL;

// A folder on the device with an Info.plist: resources, and optionally a loadable module
// (CFBundleExecutable) whose principal class (NSPrincipalClass) a host instantiates. Bundles are
// made once per folder: asking twice gives the same object. Safe from any thread.
class NSBundle : public NSObject {
public:
    // Nothing when the folder or its Info.plist is missing, or the Info.plist is not a dictionary.
    static std::shared_ptr<NSBundle> bundleWithPath(std::string_view path);
    // File URLs only.
    static std::shared_ptr<NSBundle> bundleWithURL(const std::shared_ptr<NSURL>& url);

    // The device path, normalised ("/Library/PreferenceBundles/X.bundle").
    const std::string& bundlePath() const { return m_path; }
    std::shared_ptr<NSURL> bundleURL() const;
    const Value& infoDictionary() const { return m_infoDictionary; }
    const Value& objectForInfoDictionaryKey(std::string_view key) const { return m_infoDictionary[key]; }
    std::optional<std::string> bundleIdentifier() const;

    // The device path of "<name>.<type>" in the bundle, or else in its development region's or the
    // Base ".lproj" folder. `type` may be empty, with or without its dot, or already part of `name`.
    std::optional<std::string> pathForResource(std::string_view name, std::string_view type) const;
    std::shared_ptr<NSURL> URLForResource(std::string_view name, std::string_view type) const;

    // Loads the module named by CFBundleExecutable (once; it stays loaded). False, with the reason
    // logged, when the key or the file is missing or the module does not load.
    bool load();
    bool isLoaded() const { return m_loaded.load(); }
    // Loads the bundle, then looks up the class that NSPrincipalClass names; nullptr when either fails.
    Class principalClass();

private:
    NSBundle(std::string path, Value infoDictionary);
    static std::shared_ptr<NSBundle> makeBundle(std::string_view path);
    std::vector<std::string> resourceFolders() const;

    std::string m_path;
    Value m_infoDictionary;
    std::mutex m_loadMutex;
    std::atomic<bool> m_loaded{false};
};
