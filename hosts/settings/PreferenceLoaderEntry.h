#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"

namespace corvale::settingshost {

// A pane's entry in the Settings app's list: a property list in /Library/PreferenceLoader/Preferences
// whose "entry" dictionary names the pane's bundle ("bundle"), its label and the class of its first
// page ("detail"). A simple pane names no bundle: its file holds the page's rows itself ("items",
// with an optional "title"), shown in a plain list page.
struct PreferenceLoaderEntry {
    static constexpr const char* entriesFolder = "/Library/PreferenceLoader/Preferences";
    static constexpr const char* bundlesFolder = "/Library/PreferenceBundles";

    // The entry file's device path.
    std::string path;
    // Every key of the "entry" dictionary.
    Value entry;
    // The whole entry file: a simple pane's "items" and "title" are at its top level.
    Value file;

    std::string label() const { return entry["label"].stringValue(); }
    std::string bundleName() const { return entry["bundle"].stringValue(); }
    std::string detailClassName() const { return entry["detail"].stringValue(); }
    // No bundle: the rows are in the entry file.
    bool isSimplePane() const { return !entry["bundle"].isString(); }
    // "/Library/PreferenceBundles/<bundle>.bundle".
    std::string bundlePath() const;

    // Every usable entry in file-name order; empty, with the last reason in *problem, when none is.
    static std::vector<PreferenceLoaderEntry> findAll(std::string* problem);
    // The entry in one file; nothing, with the reason, when it is not a usable entry.
    static std::optional<PreferenceLoaderEntry> read(const std::string& devicePath, std::string* problem);
};

} // namespace corvale::settingshost
