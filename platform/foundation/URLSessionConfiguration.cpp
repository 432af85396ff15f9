#include "platform/foundation/URLSessionConfiguration.h"

#include <cstdlib>
#include <mutex>
#include <optional>

namespace platform {

namespace {

std::mutex& sharedMutex() {
    static std::mutex mutex;
    return mutex;
}

// Filled on first use, so that the environment is read after the host has set it up.
std::optional<URLSessionConfiguration>& sharedStorage() {
    static std::optional<URLSessionConfiguration> configuration;
    return configuration;
}

} // namespace

URLSessionConfiguration URLSessionConfiguration::defaultConfiguration() {
    URLSessionConfiguration configuration;
    if (const char* caFile = std::getenv("CORVALE_CA_FILE"))
        configuration.trustedCAFile = caFile;
    return configuration;
}

URLSessionConfiguration URLSessionConfiguration::sharedConfiguration() {
    std::lock_guard lock(sharedMutex());
    auto& shared = sharedStorage();
    if (!shared)
        shared = defaultConfiguration();
    return *shared;
}

void URLSessionConfiguration::setSharedConfiguration(URLSessionConfiguration configuration) {
    std::lock_guard lock(sharedMutex());
    sharedStorage() = std::move(configuration);
}

} // namespace platform
