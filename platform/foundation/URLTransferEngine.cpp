#include "platform/foundation/URLTransferEngine.h"

#include <algorithm>
#include <exception>
#include <pthread.h>
#include <system_error>
#include <utility>

#include "platform/foundation/CurlLibrary.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/URLTransfer.h"

namespace platform {

namespace {

// The longest the worker sleeps when libcurl has nothing due; a wake-up ends the sleep at once.
constexpr int idleWaitMilliseconds = 60 * 1000;

} // namespace

std::shared_ptr<URLTransferEngine> URLTransferEngine::shared() {
    // Destroyed at exit, which joins the worker. A task that holds the engine while cancelling keeps
    // it alive until it lets go.
    static const auto engine = std::make_shared<URLTransferEngine>();
    return engine;
}

URLTransferEngine::URLTransferEngine() {
    initializeCurlOnce();
    m_multi = curl_multi_init();
    if (!m_multi) {
        NSLog("URL transfers: libcurl could not make a multi handle");
        return;
    }
    try {
        m_worker = std::thread([this] { run(); });
        pthread_setname_np(m_worker.native_handle(), "url-transfers");
    } catch (const std::system_error& error) {
        NSLog("URL transfers: could not start the worker: %s", error.what());
    }
}

URLTransferEngine::~URLTransferEngine() {
    {
        std::lock_guard lock(m_mutex);
        m_requests.stopping = true;
    }
    wake();
    if (m_worker.joinable())
        m_worker.join();
    for (const auto& job : m_running)
        curl_multi_remove_handle(m_multi, job.transfer->handle());
    m_running.clear();
    m_requests = {};
    if (m_multi)
        curl_multi_cleanup(m_multi);
}

std::uint64_t URLTransferEngine::start(std::shared_ptr<URLTransfer> transfer, Completion completion) {
    std::unique_lock lock(m_mutex);
    auto identifier = m_nextIdentifier++;
    if (!m_worker.joinable() || m_requests.stopping) {
        // Without a worker nothing could ever run the transfer: it fails here, on the caller's thread.
        lock.unlock();
        transfer->fail(NSURLErrorUnknown);
        completion(transfer->takeResult());
        return identifier;
    }
    m_requests.starts.push_back({identifier, std::move(transfer), std::move(completion)});
    lock.unlock();
    wake();
    return identifier;
}

void URLTransferEngine::cancel(std::uint64_t identifier) {
    {
        std::lock_guard lock(m_mutex);
        m_requests.cancellations.push_back(identifier);
    }
    wake();
}

void URLTransferEngine::wake() {
    if (m_multi)
        curl_multi_wakeup(m_multi);
}

URLTransferEngine::Requests URLTransferEngine::takeRequests() {
    std::lock_guard lock(m_mutex);
    Requests requests = std::move(m_requests);
    m_requests = {};
    return requests;
}

void URLTransferEngine::run() {
    for (;;) {
        auto requests = takeRequests();
        if (requests.stopping)
            return;
        // Starts first: a cancellation may name a transfer queued in the same batch.
        for (auto& job : requests.starts)
            add(std::move(job));
        for (auto identifier : requests.cancellations)
            cancelRunning(identifier);
        int stillRunning = 0;
        curl_multi_perform(m_multi, &stillRunning);
        collectFinished();
        curl_multi_poll(m_multi, nullptr, 0, idleWaitMilliseconds, nullptr);
    }
}

void URLTransferEngine::add(Job job) {
    if (!job.transfer->begin()) {
        complete(std::move(job));
        return;
    }
    if (curl_multi_add_handle(m_multi, job.transfer->handle()) != CURLM_OK) {
        job.transfer->fail(NSURLErrorUnknown);
        complete(std::move(job));
        return;
    }
    m_running.push_back(std::move(job));
}

void URLTransferEngine::cancelRunning(std::uint64_t identifier) {
    auto job = std::find_if(m_running.begin(), m_running.end(),
                            [&](const Job& candidate) { return candidate.identifier == identifier; });
    if (job == m_running.end())
        return;
    curl_multi_remove_handle(m_multi, job->transfer->handle());
    job->transfer->fail(NSURLErrorCancelled);
    complete(takeRunning(job));
}

void URLTransferEngine::collectFinished() {
    // Handles are removed and re-added only after reading all messages: removing one frees its message.
    std::vector<std::pair<CURL*, CURLcode>> finished;
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(m_multi, &queued)) {
        if (message->msg == CURLMSG_DONE)
            finished.emplace_back(message->easy_handle, message->data.result);
    }
    for (const auto& entry : finished) {
        CURL* handle = entry.first;
        CURLcode code = entry.second;
        auto job = std::find_if(m_running.begin(), m_running.end(),
                                [&](const Job& candidate) { return candidate.transfer->handle() == handle; });
        if (job == m_running.end())
            continue;
        curl_multi_remove_handle(m_multi, handle);
        if (job->transfer->followRedirectAfter(code)) {
            if (curl_multi_add_handle(m_multi, handle) == CURLM_OK)
                continue;
            job->transfer->fail(NSURLErrorUnknown);
        }
        complete(takeRunning(job));
    }
}

URLTransferEngine::Job URLTransferEngine::takeRunning(std::vector<Job>::iterator job) {
    Job taken = std::move(*job);
    m_running.erase(job);
    return taken;
}

void URLTransferEngine::complete(Job job) {
    try {
        job.completion(job.transfer->takeResult());
    } catch (const std::exception& exception) {
        NSLog("URL transfers: a completion threw: %s", exception.what());
    } catch (...) {
        NSLog("URL transfers: a completion threw");
    }
}

} // namespace platform
