#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Value.h"

namespace platform {

// One process's copy of one preference domain. It is read from disk on first use; changes stay in
// memory until `synchronize` merges them into what is on disk at that moment and writes the result
// atomically, holding a lock on the domain (flock on a lock file beside it) so that another process
// merging at the same time waits instead of losing our keys or we theirs. A file that exists but
// cannot be read is never replaced: the change stays pending, and the failure goes to stderr. Not
// thread-safe on its own: PreferencesStore serialises every call.
class PreferenceDomain {
public:
    explicit PreferenceDomain(std::string devicePath) : m_devicePath(std::move(devicePath)) {}

    const std::string& devicePath() const { return m_devicePath; }
    const Value::Dictionary& values();
    const Value& valueForKey(std::string_view key);
    // A null value removes the key. Values a property list cannot hold (null inside) are ignored.
    void setValue(std::string key, Value value);

    // With changes pending: writes them out, and keeps them pending if that fails. Without: forgets
    // the cached copy so the next read sees what another process wrote, and leaves the file alone.
    bool synchronize();

private:
    Value::Dictionary& loadedValues();
    // The file's dictionary, empty when there is no file; nothing when the file is there but is not
    // a readable dictionary.
    std::optional<Value::Dictionary> readFromDisk() const;
    bool mergeIntoDisk();
    bool writeToDisk(const Value::Dictionary& values) const;
    void reportUnreadable(std::string_view consequence) const;
    static bool isPropertyListValue(const Value& value);

    std::string m_devicePath;
    std::optional<Value::Dictionary> m_values;
    // Keys changed since the last write; a null value is a removal.
    Value::Dictionary m_pendingChanges;
};

} // namespace platform
