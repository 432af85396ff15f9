#pragma once

#include <cstdint>
#include <curl/curl.h>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/foundation/URLTransferResult.h"

namespace platform {

class URLTransfer;

// Runs transfers on one worker thread that owns a libcurl multi handle. Other threads hand it work
// through a locked queue and wake it with curl_multi_wakeup, so cancelling takes effect at once, with
// no polling. Every easy handle is set up, driven and freed on the worker.
class URLTransferEngine {
public:
    using Completion = std::function<void(URLTransferResult)>;

    // The process's engine, created on first use and shut down at exit. Transfers still running then
    // are dropped without completing: nothing of the program may be left to receive them.
    static std::shared_ptr<URLTransferEngine> shared();

    URLTransferEngine();
    ~URLTransferEngine();
    URLTransferEngine(const URLTransferEngine&) = delete;
    URLTransferEngine& operator=(const URLTransferEngine&) = delete;

    // Queues a transfer; the completion runs exactly once, on the worker, and must not block. The
    // identifier names the transfer to cancel().
    std::uint64_t start(std::shared_ptr<URLTransfer> transfer, Completion completion);
    // Ends a transfer with NSURLErrorCancelled unless it has already ended.
    void cancel(std::uint64_t identifier);

private:
    struct Job {
        std::uint64_t identifier = 0;
        std::shared_ptr<URLTransfer> transfer;
        Completion completion;
    };
    struct Requests {
        std::vector<Job> starts;
        std::vector<std::uint64_t> cancellations;
        bool stopping = false;
    };

    void run();
    Requests takeRequests();
    void add(Job job);
    void cancelRunning(std::uint64_t identifier);
    void collectFinished();
    Job takeRunning(std::vector<Job>::iterator job);
    // Hands the result to the completion; the transfer and its handle go with the job.
    void complete(Job job);
    void wake();

    CURLM* m_multi = nullptr;
    std::thread m_worker;

    std::mutex m_mutex; // guards the members below
    Requests m_requests;
    std::uint64_t m_nextIdentifier = 1;

    std::vector<Job> m_running; // the worker's own
};

} // namespace platform
