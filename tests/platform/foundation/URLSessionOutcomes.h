#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSURLSession.h"
#include "platform/foundation/RunLoop.h"

// What completion handlers were called with, and where they ran.
class URLSessionOutcomes {
public:
    struct Outcome {
        std::shared_ptr<NSData> data;
        std::shared_ptr<NSHTTPURLResponse> response;
        NSErrorPtr error;
        std::thread::id thread;
        bool onMainThread = false;
        bool onDelegateQueue = false;
        int tag = 0;
    };

    // A handler that records its call under the tag, checking it against the session's queue.
    NSURLSession::CompletionHandler handler(const std::shared_ptr<NSURLSession>& session, int tag = 0) {
        return [this, queue = session->delegateQueue(), tag](std::shared_ptr<NSData> data,
                                                             std::shared_ptr<NSHTTPURLResponse> response,
                                                             NSErrorPtr error) {
            Outcome outcome{std::move(data),
                            std::move(response),
                            std::move(error),
                            std::this_thread::get_id(),
                            platform::isMainThread(),
                            queue->isCurrent(),
                            tag};
            std::lock_guard lock(m_mutex);
            m_outcomes.push_back(std::move(outcome));
        };
    }

    // Runs the main run loop (the way an app waits) until that many calls have come or time is up.
    bool waitFor(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
        return platform::RunLoop::main().runUntil([&] { return size() >= count; }, timeout);
    }

    std::size_t size() const {
        std::lock_guard lock(m_mutex);
        return m_outcomes.size();
    }

    std::vector<Outcome> all() const {
        std::lock_guard lock(m_mutex);
        return m_outcomes;
    }

    Outcome first() const {
        std::lock_guard lock(m_mutex);
        return m_outcomes.empty() ? Outcome{} : m_outcomes.front();
    }

private:
    mutable std::mutex m_mutex;
    std::vector<Outcome> m_outcomes;
};
