#pragma once

#include <optional>
#include <string>

#include "platform/foundation/Value.h"

namespace corvale::settingshost {

// A pane's entry in the Settings app's list: a property list in /Library/PreferenceLoader/Preferences
// whose "entry" dictionary names the pane's bundle ("bundle"), its label and the class of its first
// page ("detail").
struct PreferenceLoaderEntry {
    static constexpr const char* entriesFolder = "/Library/PreferenceLoader/Preferences";
    static constexpr const char* bundlesFolder = "/Library/PreferenceBundles";

    // The entry file's device path.
    std::string path;
    // Every key of the "entry" dictionary.
    Value entry;

    std::string label() const { return entry["label"].stringValue(); }
    std::string bundleName() const { return entry["bundle"].stringValue(); }
    std::string detailClassName() const { return entry["detail"].stringValue(); }
    // "/Library/PreferenceBundles/<bundle>.bundle".
    std::string bundlePath() const;

    // The first entry in file-name order whose "entry" is a dictionary with a "bundle" string; nothing,
    // with the reason in *problem, when the folder holds none.
    static std::optional<PreferenceLoaderEntry> find(std::string* problem);
    // The entry in one file; nothing, with the reason, when it is not a usable entry.
    static std::optional<PreferenceLoaderEntry> read(const std::string& devicePath, std::string* problem);
};

} // namespace corvale::settingshost
