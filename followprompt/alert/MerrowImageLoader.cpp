#include "followprompt/alert/MerrowImageLoader.h"

#include <future>

#include "followprompt/alert/MerrowManifest.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLSession.h"
#include "platform/foundation/URLLoadingPolicy.h"
#include "platform/foundation/URLSessionConfiguration.h"

namespace merrow {

namespace {

std::shared_ptr<NSData> fetchWithTimeout(const std::shared_ptr<NSURL>& url,
                                         std::chrono::milliseconds timeout) {
    auto configuration = platform::URLSessionConfiguration::sharedConfiguration();
    configuration.timeout = timeout;
    configuration.connectTimeout = std::min(configuration.connectTimeout, timeout);
    auto session = NSURLSession::sessionWithConfiguration(configuration);
    auto delivered = std::make_shared<std::promise<std::shared_ptr<NSData>>>();
    auto future = delivered->get_future();
    auto task = session->dataTaskWithURL(
        url, [delivered](std::shared_ptr<NSData> data, std::shared_ptr<NSHTTPURLResponse>, NSErrorPtr error) {
            delivered->set_value(error ? nullptr : std::move(data));
        });
    task->resume();
    // The transfer's own timeout ends it; this bound only guards against a completion that never comes.
    if (future.wait_for(timeout + std::chrono::seconds(1)) != std::future_status::ready) {
        task->cancel();
        return nullptr;
    }
    return future.get();
}

} // namespace

std::shared_ptr<UIImage> loadImageSynchronously(const Value& urlString, std::chrono::milliseconds timeout) {
    if (!urlString.isString())
        return nullptr;
    auto url = NSURL::URLWithString(urlString.asString());
    if (!url)
        return nullptr;
    // A manifest from elsewhere may not make the device call its own local services.
    auto origin = manifestURL();
    if (platform::URLLoadingPolicy::isLoopbackURL(url->absoluteString()) &&
        !(origin && platform::URLLoadingPolicy::isLoopbackURL(origin->absoluteString())))
        return nullptr;
    auto data = url->isFileURL() ? NSData::dataWithContentsOfURL(url) : fetchWithTimeout(url, timeout);
    if (!data || data->length() == 0)
        return nullptr;
    return UIImage::imageWithData(data);
}

} // namespace merrow
