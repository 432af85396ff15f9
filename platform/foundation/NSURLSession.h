#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/NSURLSessionDataTask.h"
#include "platform/foundation/URLSessionConfiguration.h"

class NSURL;

// Loads URLs with libcurl. HTTPS is verified against the system's authorities (plus
// URLSessionConfiguration::trustedCAFile, e.g. from CORVALE_CA_FILE); plain HTTP is allowed for
// loopback hosts only, and any other http: URL, first or redirected to, fails with
// NSURLErrorAppTransportSecurityRequiresSecureConnection before a connection is made. Completion
// handlers run on the session's delegate queue, one serial background queue, never the main thread.
class NSURLSession {
public:
    using CompletionHandler = NSURLSessionDataTask::CompletionHandler;

    // Lives until the process exits; uses URLSessionConfiguration::sharedConfiguration() as it is when
    // each task is made.
    static std::shared_ptr<NSURLSession> sharedSession();
    // A session of its own, with its own delegate queue.
    static std::shared_ptr<NSURLSession>
    sessionWithConfiguration(platform::URLSessionConfiguration configuration);

    // A suspended task: resume() starts it.
    std::shared_ptr<NSURLSessionDataTask> dataTaskWithURL(const std::shared_ptr<NSURL>& url,
                                                          CompletionHandler completionHandler);

    // The same with a body cap of its own, for a caller that knows how large an answer can be: the
    // smaller of this and the session's cap applies.
    std::shared_ptr<NSURLSessionDataTask> dataTaskWithURL(const std::shared_ptr<NSURL>& url,
                                                          std::size_t maximumBodyLength,
                                                          CompletionHandler completionHandler);

    // Waits, at most `bound`, until every block queued on the delegate queue so far has run: what a
    // process does before it exits, so that a completion handler writing a cache is not cut off.
    // False when the bound ran out first. Must not be called on the delegate queue itself.
    bool drainDelegateQueue(std::chrono::milliseconds bound) const;

    const dispatch_queue_t& delegateQueue() const { return m_delegateQueue; }
    platform::URLSessionConfiguration configuration() const;

private:
    NSURLSession(std::optional<platform::URLSessionConfiguration> configuration, const char* queueLabel);

    // Nothing for the shared session, which follows the shared configuration.
    const std::optional<platform::URLSessionConfiguration> m_configuration;
    const dispatch_queue_t m_delegateQueue;
    std::atomic<std::int64_t> m_nextTaskIdentifier{1};
};
