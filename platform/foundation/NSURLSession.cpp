#include "platform/foundation/NSURLSession.h"

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
