#include "platform/corefoundation/PreferencesStore.h"

namespace platform {

PreferencesStore& PreferencesStore::shared() {
    // Never destroyed: a background queue may still read preferences while the process exits.
    static auto* store = new PreferencesStore;
    return *store;
}

Value PreferencesStore::valueForKey(const std::string& devicePath, std::string_view key) {
    std::lock_guard lock(m_mutex);
    return domain(devicePath).valueForKey(key);
}

Value::Dictionary PreferencesStore::allValues(const std::string& devicePath) {
    std::lock_guard lock(m_mutex);
    return domain(devicePath).values();
}

void PreferencesStore::setValue(const std::string& devicePath, std::string key, Value value) {
    std::lock_guard lock(m_mutex);
    domain(devicePath).setValue(std::move(key), std::move(value));
}

void PreferencesStore::setMultiple(const std::string& devicePath, const Value::Dictionary& keysToSet,
                                   const std::vector<std::string>& keysToRemove) {
    std::lock_guard lock(m_mutex);
    auto& target = domain(devicePath);
    for (const auto& [key, value] : keysToSet)
        target.setValue(key, value);
    for (const auto& key : keysToRemove)
        target.setValue(key, Value());
}

bool PreferencesStore::synchronize(const std::string& devicePath) {
    std::lock_guard lock(m_mutex);
    return domain(devicePath).synchronize();
}

void PreferencesStore::resetForNewProcess() {
    std::lock_guard lock(m_mutex);
    m_domains.clear();
}

PreferenceDomain& PreferencesStore::domain(const std::string& devicePath) {
    return m_domains.try_emplace(devicePath, devicePath).first->second;
}

} // namespace platform
