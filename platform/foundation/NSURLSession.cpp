#include "platform/foundation/NSURLSession.h"

#include <algorithm>
#include <future>

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/URLTransferEngine.h"

NSURLSession::NSURLSession(std::optional<platform::URLSessionConfiguration> configuration,
                           const char* queueLabel)
    : m_configuration(std::move(configuration)), m_delegateQueue(dispatch_queue_create(queueLabel)) {}

std::shared_ptr<NSURLSession> NSURLSession::sharedSession() {
    // The engine is made first so that it is destroyed after the session at exit. Either order would
    // be safe (tasks hold what they use), but this one lets completions already queued run first.
    static const std::shared_ptr<NSURLSession> session = [] {
        platform::URLTransferEngine::shared();
        return std::shared_ptr<NSURLSession>(
            new NSURLSession(std::nullopt, "com.apple.NSURLSession-delegate"));
    }();
    return session;
}

std::shared_ptr<NSURLSession>
NSURLSession::sessionWithConfiguration(platform::URLSessionConfiguration configuration) {
    return std::shared_ptr<NSURLSession>(new NSURLSession(std::move(configuration), "NSURLSession-delegate"));
}

platform::URLSessionConfiguration NSURLSession::configuration() const {
    return m_configuration ? *m_configuration : platform::URLSessionConfiguration::sharedConfiguration();
}

std::shared_ptr<NSURLSessionDataTask> NSURLSession::dataTaskWithURL(const std::shared_ptr<NSURL>& url,
                                                                    CompletionHandler completionHandler) {
    return std::make_shared<NSURLSessionDataTask>(m_nextTaskIdentifier++, url, configuration(),
                                                  m_delegateQueue, std::move(completionHandler));
}

std::shared_ptr<NSURLSessionDataTask> NSURLSession::dataTaskWithURL(const std::shared_ptr<NSURL>& url,
                                                                    std::size_t maximumBodyLength,
                                                                    CompletionHandler completionHandler) {
    auto limited = configuration();
    limited.maximumBodyLength = std::min(limited.maximumBodyLength, maximumBodyLength);
    return std::make_shared<NSURLSessionDataTask>(m_nextTaskIdentifier++, url, std::move(limited),
                                                  m_delegateQueue, std::move(completionHandler));
}

bool NSURLSession::drainDelegateQueue(std::chrono::milliseconds bound) const {
    // The queue is serial: once this marker runs, everything queued before it has.
    auto reached = std::make_shared<std::promise<void>>();
    auto future = reached->get_future();
    dispatch_async(m_delegateQueue, [reached] { reached->set_value(); });
    return future.wait_for(bound) == std::future_status::ready;
}
