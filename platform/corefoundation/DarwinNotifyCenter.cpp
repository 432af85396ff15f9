#include "platform/corefoundation/DarwinNotifyCenter.h"

#include <algorithm>
#include <utility>

namespace platform {

void DarwinNotifyCenter::addObserver(const void* observer, CFNotificationCallback callback,
                                     std::string_view name) {
    if (!callback || name.empty())
        return;
    auto registration = std::make_shared<Registration>();
    registration->observer = observer;
    registration->name = std::string(name);
    registration->callback = std::move(callback);
    std::lock_guard lock(m_mutex);
    removeWhere(observer, name);
    m_registrations.push_back(std::move(registration));
}

void DarwinNotifyCenter::removeObserver(const void* observer, std::string_view name) {
    std::lock_guard lock(m_mutex);
    removeWhere(observer, name);
}

void DarwinNotifyCenter::post(CFNotificationCenterRef center, std::string_view name) {
    const std::string postedName(name);
    for (const auto& registration : observersOf(name)) {
        if (!registration->active.load())
            continue;
        // The observer is an opaque token the callback gets back; it is never dereferenced here.
        registration->callback(center, const_cast<void*>(registration->observer), postedName, nullptr,
                               Value::null());
    }
}

std::vector<DarwinNotifyCenter::RegistrationPtr> DarwinNotifyCenter::observersOf(std::string_view name) {
    std::vector<RegistrationPtr> matching;
    std::lock_guard lock(m_mutex);
    for (const auto& registration : m_registrations) {
        if (registration->name == name)
            matching.push_back(registration);
    }
    return matching;
}

void DarwinNotifyCenter::removeWhere(const void* observer, std::string_view name) {
    auto removed =
        std::remove_if(m_registrations.begin(), m_registrations.end(), [&](const RegistrationPtr& entry) {
            bool matches = entry->observer == observer && (name.empty() || entry->name == name);
            if (matches)
                entry->active.store(false);
            return matches;
        });
    m_registrations.erase(removed, m_registrations.end());
}

} // namespace platform
