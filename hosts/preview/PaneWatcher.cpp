#include "hosts/preview/PaneWatcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <system_error>

namespace corvale::preview {

namespace {

// Finished writes, replacements by rename (how editors and installers save), removals and new
// files, and a watched folder itself removed or moved (a bundle reinstalled whole). Not IN_MODIFY
// (a write in progress) nor IN_ATTRIB, which the app's own reads could cause.
constexpr std::uint32_t watchedEvents =
    IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE | IN_DELETE_SELF | IN_MOVE_SELF;
// A bundle's resources sit at most a couple of folders deep; a deeper tree is not a pane's.
constexpr int maximumDepth = 3;

} // namespace

PaneWatcher::PaneWatcher() : m_descriptor(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

PaneWatcher::~PaneWatcher() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

void PaneWatcher::removeAll() {
    for (int watch : m_watches)
        inotify_rm_watch(m_descriptor, watch);
    m_watches.clear();
}

void PaneWatcher::watch(const std::vector<std::filesystem::path>& folders) {
    if (m_descriptor < 0)
        return;
    removeAll();
    for (const auto& folder : folders)
        addTree(folder, 0);
    // Events of the old watches that were still queued describe files the restart already read.
    takeChanged();
}

void PaneWatcher::addTree(const std::filesystem::path& folder, int depth) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        return;
    int watch = inotify_add_watch(m_descriptor, folder.c_str(), watchedEvents);
    if (watch >= 0)
        m_watches.push_back(watch);
    if (depth >= maximumDepth)
        return;
    for (const auto& item : std::filesystem::directory_iterator(folder, error))
        if (item.is_directory(error) && !item.is_symlink(error))
            addTree(item.path(), depth + 1);
}

bool PaneWatcher::takeChanged() {
    if (m_descriptor < 0)
        return false;
    bool changed = false;
    alignas(inotify_event) std::array<char, 4096> buffer;
    while (::read(m_descriptor, buffer.data(), buffer.size()) > 0)
        changed = true;
    return changed;
}

} // namespace corvale::preview
