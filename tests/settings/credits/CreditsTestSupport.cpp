#include "tests/settings/credits/CreditsTestSupport.h"

#include <cstdlib>
#include <utility>

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSJSONSerialization.h"
#include "platform/foundation/NSURLSession.h"
#include "platform/foundation/RunLoop.h"
#include "platform/uikit/UIImage.h"

using namespace std::chrono_literals;

namespace credits_test {

CreditsEnvironment::CreditsEnvironment(const std::string& serverBaseURL)
    : m_previousScale(platform::SimulatedDevice::screenScale()),
      m_previousConfiguration(platform::URLSessionConfiguration::sharedConfiguration()) {
    if (const char* previous = std::getenv("CORVALE_CREDITS_SERVER"))
        m_previousServer = previous;
    setServer(serverBaseURL);
}

CreditsEnvironment::~CreditsEnvironment() {
    if (m_previousServer)
        ::setenv("CORVALE_CREDITS_SERVER", m_previousServer->c_str(), 1);
    else
        ::unsetenv("CORVALE_CREDITS_SERVER");
    platform::SimulatedDevice::setScreenScale(m_previousScale);
    platform::URLSessionConfiguration::setSharedConfiguration(m_previousConfiguration);
}

void CreditsEnvironment::setServer(const std::string& serverBaseURL) const {
    ::setenv("CORVALE_CREDITS_SERVER", serverBaseURL.c_str(), 1);
}

void CreditsEnvironment::trustCertificateFile(const std::string& pemFile) const {
    auto configuration = platform::URLSessionConfiguration::defaultConfiguration();
    configuration.trustedCAFile = pemFile;
    platform::URLSessionConfiguration::setSharedConfiguration(configuration);
}

void CreditsDelegateRecorder::creditsManagerDidLoadCreditsAndLinks(
    const std::shared_ptr<KVCorvaleSettingsCreditsManager>& manager, const Value& credits,
    const Value& links) {
    record({true, credits, links, nullptr, platform::isMainThread(), manager.get()});
}

void CreditsDelegateRecorder::creditsManagerDidFailToLoadWithError(
    const std::shared_ptr<KVCorvaleSettingsCreditsManager>& manager, const NSErrorPtr& error) {
    record({false, Value(), Value(), error, platform::isMainThread(), manager.get()});
}

void CreditsDelegateRecorder::record(Call call) {
    std::lock_guard lock(m_mutex);
    m_calls.push_back(std::move(call));
}

std::vector<CreditsDelegateRecorder::Call> CreditsDelegateRecorder::calls() const {
    std::lock_guard lock(m_mutex);
    return m_calls;
}

std::size_t CreditsDelegateRecorder::count() const {
    std::lock_guard lock(m_mutex);
    return m_calls.size();
}

std::string CreditsDelegateRecorder::sequence() const {
    std::string kinds;
    for (const auto& call : calls())
        kinds += std::string(kinds.empty() ? "" : ", ") + (call.loaded ? "load" : "fail");
    return kinds;
}

void ImageDelegateRecorder::creditsImageManagerDidLoadImage(
    const std::shared_ptr<KVCorvaleSettingsCreditsImageManager>&, const std::shared_ptr<UIImage>& image) {
    Delivery delivery{image, image && image->bitmap() ? image->bitmap()->width() : 0,
                      platform::isMainThread()};
    std::lock_guard lock(m_mutex);
    m_deliveries.push_back(std::move(delivery));
}

std::vector<ImageDelegateRecorder::Delivery> ImageDelegateRecorder::deliveries() const {
    std::lock_guard lock(m_mutex);
    return m_deliveries;
}

std::vector<std::uint32_t> ImageDelegateRecorder::widths() const {
    std::vector<std::uint32_t> widths;
    for (const auto& delivery : deliveries())
        widths.push_back(delivery.width);
    return widths;
}

void drainSessionQueue() {
    dispatch_sync(NSURLSession::sharedSession()->delegateQueue(), [] {});
}

bool waitUntilSettled(const KVCorvaleSettingsCreditsManager& manager) {
    // A hash answer may start the full download from inside its handler, so look again after the
    // handler has finished.
    for (int round = 0; round < 10; ++round) {
        if (!platform::RunLoop::main().runUntil([&] { return !manager.inProgress(); }, 20s))
            return false;
        drainSessionQueue();
        if (!manager.inProgress())
            return true;
    }
    return false;
}

bool waitUntilSettled(const KVCorvaleSettingsCreditsImageManager& manager) {
    auto task = manager.fetchTask();
    if (task && !platform::RunLoop::main().runUntil(
                    [&] { return task->state() == NSURLSessionTaskState::Completed; }, 20s))
        return false;
    drainSessionQueue();
    return true;
}

std::string pngPicture(std::uint32_t width, std::uint32_t height) {
    auto bitmap = platform::Bitmap::allocate(width, height);
    if (!bitmap)
        return {};
    platform::RGBA colour{static_cast<std::uint8_t>(width * 7), static_cast<std::uint8_t>(height * 13), 200,
                          255};
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x)
            bitmap->setPixel(x, y, colour);
    auto png = UIImagePNGRepresentation(
        UIImage::imageWithBitmap(std::make_shared<const platform::Bitmap>(std::move(*bitmap))));
    return png ? png->stringValue() : std::string();
}

std::string creditsAnswer(const std::string& hash) {
    Value answer =
        Value::dictionary({{"success", true},
                           {"hash", hash},
                           {"credits", expectedCredits()},
                           {"links", expectedLinks()},
                           {"kept", Value::dictionary({{"note", "other keys stay in the cache"}})}});
    return NSJSONSerialization::dataWithJSONObject(answer).value_or("");
}

Value expectedCredits() {
    return Value::array({Value::dictionary(
        {{"name", "Ada Quill"},
         {"position", "Developer"},
         {"logo", Value::dictionary({{"default", Value::dictionary({{"url", "ada.png"}, {"hash", "a1"}})}})},
         {"services", Value::array({Value::dictionary({{"service", "github"}, {"username", "adaq"}})})}})});
}

Value expectedLinks() {
    return Value::array({Value::dictionary({{"title", "Website"}, {"url", "https://halcyra.example/"}})});
}

} // namespace credits_test
