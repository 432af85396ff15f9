#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/foundation/DispatchQueue.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/NSHTTPURLResponse.h"
#include "platform/foundation/NSURLSessionTaskState.h"
#include "platform/foundation/URLSessionConfiguration.h"

class NSURL;

namespace platform {
class URLTransferEngine;
struct URLTransferResult;
} // namespace platform

// A GET of one URL, made by NSURLSession::dataTaskWithURL. It starts suspended; resume() starts it.
// The completion handler runs exactly once, on the session's delegate queue: with data and response
// (whatever the HTTP status), or with an error and nothing else. The task is Completed only once its
// handler has returned. A running task keeps itself alive until its handler has run, so the caller
// need not hold on to it.
class NSURLSessionDataTask : public std::enable_shared_from_this<NSURLSessionDataTask> {
public:
    using CompletionHandler = std::function<void(
        std::shared_ptr<NSData> data, std::shared_ptr<NSHTTPURLResponse> response, NSErrorPtr error)>;

    NSURLSessionDataTask(std::int64_t taskIdentifier, std::shared_ptr<NSURL> url,
                         platform::URLSessionConfiguration configuration, dispatch_queue_t delegateQueue,
                         CompletionHandler completionHandler);
    NSURLSessionDataTask(const NSURLSessionDataTask&) = delete;
    NSURLSessionDataTask& operator=(const NSURLSessionDataTask&) = delete;

    // Starts a suspended task; does nothing otherwise. A URL the session may not load (plain HTTP to
    // a host that is not loopback, another scheme) fails here without any connection.
    void resume();
    // Ends the task with NSURLErrorCancelled unless it has already ended; a task never resumed
    // completes that way too.
    void cancel();

    NSURLSessionTaskState state() const;
    std::int64_t taskIdentifier() const { return m_taskIdentifier; }
    const std::shared_ptr<NSURL>& originalRequestURL() const { return m_url; }

private:
    void handOver(platform::URLTransferResult result);
    void deliver(const platform::URLTransferResult& result);

    const std::int64_t m_taskIdentifier;
    const std::shared_ptr<NSURL> m_url;
    const platform::URLSessionConfiguration m_configuration;
    const dispatch_queue_t m_delegateQueue;

    mutable std::mutex m_mutex; // guards the members below
    CompletionHandler m_completionHandler;
    NSURLSessionTaskState m_state = NSURLSessionTaskState::Suspended;
    bool m_started = false;
    bool m_delivered = false;
    std::uint64_t m_transferIdentifier = 0; // 0 until the engine has the transfer
    std::weak_ptr<platform::URLTransferEngine> m_engine;
};
