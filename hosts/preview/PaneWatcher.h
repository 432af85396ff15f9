#pragma once

#include <filesystem>
#include <vector>

namespace corvale::preview {

// Tells when a file changes in the folders it watches (and their subfolders, such as a bundle's
// .lproj folders), through inotify. It never blocks: the main loop asks between turns.
class PaneWatcher {
public:
    PaneWatcher();
    ~PaneWatcher();
    PaneWatcher(const PaneWatcher&) = delete;
    PaneWatcher& operator=(const PaneWatcher&) = delete;

    // Watches these host folders from now on, instead of the ones before; missing ones are skipped.
    void watch(const std::vector<std::filesystem::path>& folders);
    // Whether anything changed since the last call; reads every pending event.
    bool takeChanged();
    bool usable() const { return m_descriptor >= 0; }

private:
    void addTree(const std::filesystem::path& folder, int depth);
    void removeAll();

    int m_descriptor = -1;
    std::vector<int> m_watches;
};

} // namespace corvale::preview
