#include "platform/foundation/NSURLSessionDataTask.h"

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/URLLoadingPolicy.h"
#include "platform/foundation/URLTransfer.h"
#include "platform/foundation/URLTransferEngine.h"
#include "platform/foundation/URLTransferResult.h"

namespace {

std::string describe(const std::shared_ptr<NSURL>& url) {
    return url ? url->absoluteString() : "";
}

} // namespace

NSURLSessionDataTask::NSURLSessionDataTask(std::int64_t taskIdentifier, std::shared_ptr<NSURL> url,
                                           platform::URLSessionConfiguration configuration,
                                           dispatch_queue_t delegateQueue,
                                           CompletionHandler completionHandler)
    : m_taskIdentifier(taskIdentifier), m_url(std::move(url)), m_configuration(std::move(configuration)),
      m_delegateQueue(std::move(delegateQueue)), m_completionHandler(std::move(completionHandler)) {}

void NSURLSessionDataTask::resume() {
    std::unique_lock lock(m_mutex);
    if (m_started)
        return;
    m_started = true;
    m_state = NSURLSessionTaskState::Running;
    auto rejection = m_url ? platform::URLLoadingPolicy::rejectionCode(m_url->absoluteString())
                           : std::optional<std::int64_t>(NSURLErrorBadURL);
    if (rejection) {
        lock.unlock();
        handOver({nullptr, nullptr, platform::makeURLError(*rejection, describe(m_url))});
        return;
    }
    auto engine = platform::URLTransferEngine::shared();
    m_engine = engine;
    // Still under the lock, so that a cancel() from another thread finds the identifier. The engine
    // calls back on its worker without holding its own lock, so the lock order stays task, then engine.
    m_transferIdentifier = engine->start(std::make_shared<platform::URLTransfer>(m_url, m_configuration),
                                         [self = shared_from_this()](platform::URLTransferResult result) {
                                             self->handOver(std::move(result));
                                         });
}

void NSURLSessionDataTask::cancel() {
    std::unique_lock lock(m_mutex);
    // Once its handler has the answer, a task has nothing left to cancel.
    if (m_delivered || m_state == NSURLSessionTaskState::Canceling ||
        m_state == NSURLSessionTaskState::Completed)
        return;
    m_state = NSURLSessionTaskState::Canceling;
    if (!m_started) {
        m_started = true;
        lock.unlock();
        handOver({nullptr, nullptr, platform::makeURLError(NSURLErrorCancelled, describe(m_url))});
        return;
    }
    auto engine = m_engine.lock();
    auto identifier = m_transferIdentifier;
    lock.unlock();
    if (engine && identifier != 0)
        engine->cancel(identifier);
}

NSURLSessionTaskState NSURLSessionDataTask::state() const {
    std::lock_guard lock(m_mutex);
    return m_state;
}

void NSURLSessionDataTask::handOver(platform::URLTransferResult result) {
    dispatch_async(m_delegateQueue,
                   [self = shared_from_this(), result = std::move(result)] { self->deliver(result); });
}

void NSURLSessionDataTask::deliver(const platform::URLTransferResult& result) {
    CompletionHandler handler;
    {
        std::lock_guard lock(m_mutex);
        if (m_delivered)
            return;
        m_delivered = true;
        handler = std::move(m_completionHandler);
        m_completionHandler = nullptr;
    }
    // The task is still running while its handler works on the answer: whoever waits for it to
    // complete waits for the handler's work (a picture decoded, a cache file written) too.
    if (handler)
        handler(result.data, result.response, result.error);
    std::lock_guard lock(m_mutex);
    m_state = NSURLSessionTaskState::Completed;
}
