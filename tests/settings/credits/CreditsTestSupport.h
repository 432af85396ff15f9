#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "settings/credits/KVCorvaleSettingsCreditsImageManager.h"
#include "settings/credits/KVCorvaleSettingsCreditsManager.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/foundation/URLSessionConfiguration.h"
#include "platform/foundation/Value.h"

class UIImage;

namespace credits_test {

// Points the credits classes at a server for one test and restores the environment, the screen
// scale and the URL session's configuration afterwards.
class CreditsEnvironment {
public:
    explicit CreditsEnvironment(const std::string& serverBaseURL);
    ~CreditsEnvironment();
    CreditsEnvironment(const CreditsEnvironment&) = delete;
    CreditsEnvironment& operator=(const CreditsEnvironment&) = delete;

    void setServer(const std::string& serverBaseURL) const;
    void trustCertificateFile(const std::string& pemFile) const;

private:
    std::optional<std::string> m_previousServer;
    double m_previousScale;
    platform::URLSessionConfiguration m_previousConfiguration;
};

// What a credits manager told its delegate, in order, and on which thread.
class CreditsDelegateRecorder : public KVCorvaleSettingsCreditsManagerDelegate {
public:
    struct Call {
        bool loaded = false; // didLoad; otherwise didFail
        Value credits;
        Value links;
        NSErrorPtr error;
        bool onMainThread = false;
        const KVCorvaleSettingsCreditsManager* manager = nullptr;
    };

    void creditsManagerDidLoadCreditsAndLinks(const std::shared_ptr<KVCorvaleSettingsCreditsManager>& manager,
                                              const Value& credits, const Value& links) override;
    void creditsManagerDidFailToLoadWithError(const std::shared_ptr<KVCorvaleSettingsCreditsManager>& manager,
                                              const NSErrorPtr& error) override;

    std::vector<Call> calls() const;
    std::size_t count() const;
    // "load, fail, load": the kinds of the calls so far.
    std::string sequence() const;

private:
    void record(Call call);

    mutable std::mutex m_mutex;
    std::vector<Call> m_calls;
};

// What an image manager delivered: the picture's pixel width (0 for nil) and the thread.
class ImageDelegateRecorder : public KVCorvaleSettingsCreditsImageManagerDelegate {
public:
    struct Delivery {
        std::shared_ptr<UIImage> image;
        std::uint32_t width = 0;
        bool onMainThread = false;
    };

    void creditsImageManagerDidLoadImage(const std::shared_ptr<KVCorvaleSettingsCreditsImageManager>& manager,
                                         const std::shared_ptr<UIImage>& image) override;

    std::vector<Delivery> deliveries() const;
    // The widths delivered so far, 0 standing for nil.
    std::vector<std::uint32_t> widths() const;

private:
    mutable std::mutex m_mutex;
    std::vector<Delivery> m_deliveries;
};

// Waits, running the main run loop, until the manager has no request running and the session's
// queue has finished the last completion handler. False when that takes more than a while.
bool waitUntilSettled(const KVCorvaleSettingsCreditsManager& manager);
bool waitUntilSettled(const KVCorvaleSettingsCreditsImageManager& manager);
// Lets every completion already queued on the shared session's delegate queue run.
void drainSessionQueue();

// A PNG of the given size, its pixels a colour made from the size, so pictures are told apart.
std::string pngPicture(std::uint32_t width, std::uint32_t height);

// The credits answer used across the tests, with "success" and the given hash.
std::string creditsAnswer(const std::string& hash);
Value expectedCredits();
Value expectedLinks();

} // namespace credits_test
