#pragma once

#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/corefoundation/PreferenceDomain.h"
#include "platform/foundation/Value.h"

namespace platform {

// The process's preference domains, keyed by device path. One lock guards them all, since the
// library reads preferences from background queues as well as from the main thread.
class PreferencesStore {
public:
    static PreferencesStore& shared();

    Value valueForKey(const std::string& devicePath, std::string_view key);
    Value::Dictionary allValues(const std::string& devicePath);
    // A null value removes the key.
    void setValue(const std::string& devicePath, std::string key, Value value);
    // Sets, then removes, as one change that no other thread sees half done.
    void setMultiple(const std::string& devicePath, const Value::Dictionary& keysToSet,
                     const std::vector<std::string>& keysToRemove);
    bool synchronize(const std::string& devicePath);

    // Forgets every in-memory copy, unsynchronised changes included: what a new process would start
    // with. Hosts use it to play a restart.
    void resetForNewProcess();

private:
    PreferenceDomain& domain(const std::string& devicePath);

    std::mutex m_mutex;
    std::map<std::string, PreferenceDomain, std::less<>> m_domains;
};

} // namespace platform
