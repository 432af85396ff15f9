#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/corefoundation/CFNotificationCenter.h"

namespace platform {

// The observer table behind the Darwin notify centre. Callbacks run outside the lock, so one may add
// or remove observers (itself included) while a notification is being delivered.
class DarwinNotifyCenter {
public:
    void addObserver(const void* observer, CFNotificationCallback callback, std::string_view name);
    // An empty name removes the observer from every name.
    void removeObserver(const void* observer, std::string_view name);
    // Calls the observers of `name` on this thread, handing each `center` as the sender.
    void post(CFNotificationCenterRef center, std::string_view name);

private:
    struct Registration {
        const void* observer;
        std::string name;
        CFNotificationCallback callback;
        // Cleared on removal, so a delivery already under way skips an observer removed meanwhile.
        std::atomic<bool> active{true};
    };
    using RegistrationPtr = std::shared_ptr<Registration>;

    std::vector<RegistrationPtr> observersOf(std::string_view name);
    void removeWhere(const void* observer, std::string_view name);

    std::mutex m_mutex;
    std::vector<RegistrationPtr> m_registrations;
};

} // namespace platform
