#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "settings/credits/KVCorvaleSettingsCreditsManagerDelegate.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/NSObject.h"

class NSURL;

namespace corvale {
struct CreditsAnswer;
}

// Loads the credits of one tweak: the cached copy at once (synchronously, inside startFetch), then
// the server's hash, and the full credits only when that hash differs from the cached one (or there
// is no usable cache). Server results reach the delegate on the URL session's queue. A running
// request is never cancelled and keeps the manager alive until its answer has been handled.
class KVCorvaleSettingsCreditsManager : public NSObject {
public:
    // Nil, after logging, when the support directory cannot be created.
    static std::shared_ptr<KVCorvaleSettingsCreditsManager> initWithTweakName(std::string tweakName);

    // Ignored while a request is running. With a tweak name that is not a single path component it
    // touches neither the cache nor the server and reports the failure at once.
    void startFetch();
    // Removes the cache file; failures (no file) are ignored.
    void clearLocalStorage();

    // The cache file, the full-credits address and its "hash" sub-path. The tweak name is inserted
    // as it is; nil when the result is not a URL or the name is not a single path component.
    static std::shared_ptr<NSURL> creditsURLForTweakName(std::string_view tweakName);
    static std::shared_ptr<NSURL> remoteCreditsURLForTweakName(std::string_view tweakName);
    static std::shared_ptr<NSURL> remoteCreditsHashURLForTweakName(std::string_view tweakName);

    std::shared_ptr<KVCorvaleSettingsCreditsManagerDelegate> delegate() const;
    void setDelegate(const std::shared_ptr<KVCorvaleSettingsCreditsManagerDelegate>& delegate);

    const std::string& tweakName() const { return _tweakName; }
    // From the start of a load until its last answer has been handled (delivered and cached).
    bool inProgress() const { return m_inProgress.load(); }

private:
    explicit KVCorvaleSettingsCreditsManager(std::string tweakName);

    // Delivers a cache that carries a "hash" and returns that hash.
    std::optional<std::string> _loadFromFile();
    void _fetchFromServer();
    void _fetchFromServerIfOutdatedWithHash(std::string cachedHash);
    void provideReceivedInformation(const Value& information);

    void handleCreditsAnswer(const corvale::CreditsAnswer& answer);
    // True when the answer started the full download.
    bool handleHashAnswer(const corvale::CreditsAnswer& answer, const std::string& cachedHash);
    void writeCache(Value information) const;
    void failWithError(const NSErrorPtr& error);

    const std::string _tweakName;
    // The server address is a deployment setting, read once per manager.
    const std::shared_ptr<NSURL> m_remoteCreditsURL;
    const std::shared_ptr<NSURL> m_remoteCreditsHashURL;
    std::atomic<bool> m_inProgress{false};

    mutable std::mutex m_delegateMutex; // the delegate is set on the main thread, read on the session's
    std::weak_ptr<KVCorvaleSettingsCreditsManagerDelegate> m_delegate;
};
