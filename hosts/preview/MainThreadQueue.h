#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>

namespace corvale::preview {

// Work the server's threads hand to the main thread, where every UI object lives. The main loop runs
// it between turns of the platform's run loop (not from inside one), so an action never runs nested
// in another turn; the caller waits for the answer.
class MainThreadQueue {
public:
    void post(std::function<void()> work);
    // The main loop has ended: queued and later work is dropped, so that callers waiting for an
    // answer give up at once instead of holding the server's threads until their timeout.
    void close();
    bool hasPending() const;
    // On the main thread: runs what is queued now.
    void runPending();

    // Runs `work` on the main thread and gives its result; nothing when the main thread did not get
    // to it within `timeout` (it still runs later, and its result is dropped).
    template <class Result>
    std::optional<Result> call(std::function<Result()> work, std::chrono::milliseconds timeout) {
        auto promise = std::make_shared<std::promise<Result>>();
        auto answer = promise->get_future();
        // Only the queued work holds the promise, so dropping the work breaks it and wakes the caller.
        post([promise = std::move(promise), work = std::move(work)] { promise->set_value(work()); });
        if (answer.wait_for(timeout) != std::future_status::ready)
            return std::nullopt;
        try {
            return answer.get();
        } catch (const std::future_error&) {
            return std::nullopt; // dropped by close()
        }
    }

private:
    mutable std::mutex m_mutex;
    std::deque<std::function<void()>> m_work;
    bool m_closed = false;
};

} // namespace corvale::preview
