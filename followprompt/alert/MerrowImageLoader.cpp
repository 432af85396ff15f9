#include "followprompt/alert/MerrowImageLoader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <future>

#include "followprompt/alert/MerrowManifest.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLSession.h"
#include "platform/foundation/URLLoadingPolicy.h"
#include "platform/foundation/URLSessionConfiguration.h"
#include "platform/uikit/UIScreen.h"

namespace merrow {

namespace {

using Clock = std::chrono::steady_clock;

// The transfers end at the deadline; decoding what arrived just before it may take this long more.
constexpr std::chrono::milliseconds decodeGrace{500};

struct PendingPicture {
    std::shared_ptr<NSURLSession> session;
    std::shared_ptr<NSURLSessionDataTask> task;
    std::future<std::shared_ptr<UIImage>> image;
};

std::shared_ptr<NSURL> fetchableURL(const Value& urlString) {
    if (!urlString.isString())
        return nullptr;
    auto url = NSURL::URLWithString(urlString.asString());
    if (!url || !url->scheme())
        return nullptr;
    std::string scheme = *url->scheme();
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char character) { return static_cast<char>(std::tolower(character)); });
    if (scheme != "https" && scheme != "http")
        return nullptr;
    // A manifest from elsewhere may not make the device call its own local services.
    auto origin = manifestURL();
    if (platform::URLLoadingPolicy::isLoopbackURL(url->absoluteString()) &&
        !(origin && platform::URLLoadingPolicy::isLoopbackURL(origin->absoluteString())))
        return nullptr;
    return url;
}

platform::ImageReduction reductionFor(double side) {
    const double pixels = std::ceil(side * UIScreen::mainScreen()->scale());
    if (pixels >= 1 && pixels <= platform::ImageReduction::defaultLongestSide)
        return platform::ImageReduction::toCover(static_cast<std::uint32_t>(pixels));
    return {0, platform::ImageReduction::defaultLongestSide};
}

PendingPicture startFetching(const HeaderPicture& picture, std::chrono::milliseconds deadline) {
    auto url = fetchableURL(picture.urlString);
    if (!url)
        return {};
    auto configuration = platform::URLSessionConfiguration::sharedConfiguration();
    configuration.timeout = deadline;
    configuration.connectTimeout = std::min(configuration.connectTimeout, deadline);
    PendingPicture pending;
    pending.session = NSURLSession::sessionWithConfiguration(configuration);
    auto delivered = std::make_shared<std::promise<std::shared_ptr<UIImage>>>();
    pending.image = delivered->get_future();
    const auto reduction = reductionFor(picture.side);
    pending.task = pending.session->dataTaskWithURL(
        url, [delivered, reduction](std::shared_ptr<NSData> data, std::shared_ptr<NSHTTPURLResponse>,
                                    NSErrorPtr error) {
            const bool usable = !error && data && data->length() > 0;
            delivered->set_value(usable ? UIImage::imageWithData(data, 1, reduction) : nullptr);
        });
    pending.task->resume();
    return pending;
}

std::shared_ptr<UIImage> awaitPicture(PendingPicture& pending, Clock::time_point giveUpAt) {
    if (!pending.image.valid())
        return nullptr;
    if (pending.image.wait_until(giveUpAt) != std::future_status::ready) {
        pending.task->cancel();
        return nullptr;
    }
    return pending.image.get();
}

} // namespace

std::vector<std::shared_ptr<UIImage>> loadImagesSynchronously(const std::vector<HeaderPicture>& pictures,
                                                              std::chrono::milliseconds deadline) {
    const auto giveUpAt = Clock::now() + deadline + decodeGrace;
    std::vector<PendingPicture> pending;
    for (const auto& picture : pictures)
        pending.push_back(startFetching(picture, deadline));
    std::vector<std::shared_ptr<UIImage>> images;
    for (auto& picture : pending)
        images.push_back(awaitPicture(picture, giveUpAt));
    return images;
}

std::shared_ptr<UIImage> loadImageSynchronously(const Value& urlString, std::chrono::milliseconds deadline) {
    return loadImagesSynchronously({HeaderPicture{urlString, 0}}, deadline).front();
}

} // namespace merrow
