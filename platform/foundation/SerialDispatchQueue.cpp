#include "platform/foundation/SerialDispatchQueue.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <pthread.h>
#include <system_error>

#include "platform/foundation/NSLog.h"

namespace platform {

using WorkerClock = std::chrono::steady_clock;

// The queue's state, shared with its thread so that a queue released on its own worker can let the
// thread finish without touching freed memory.
class SerialDispatchQueue::Worker {
public:
    explicit Worker(std::string label) : m_label(std::move(label)) {}

    void enqueue(std::function<void()> block) {
        std::lock_guard lock(m_mutex);
        m_ready.push_back(std::move(block));
        m_wake.notify_one();
    }

    void enqueueAt(WorkerClock::time_point time, std::function<void()> block) {
        std::lock_guard lock(m_mutex);
        m_delayed.emplace(time, std::move(block));
        m_wake.notify_one();
    }

    std::size_t readyCount() {
        std::lock_guard lock(m_mutex);
        return m_ready.size();
    }

    void stop() {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_wake.notify_one();
    }

    void run() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            promoteDueBlocks();
            if (!m_ready.empty()) {
                auto block = std::move(m_ready.front());
                m_ready.pop_front();
                lock.unlock();
                runBlock(block);
                // Destroyed before relocking: releasing a capture may queue more work here.
                block = nullptr;
                lock.lock();
                continue;
            }
            if (m_stopping)
                break;
            if (m_delayed.empty())
                m_wake.wait(lock);
            else
                m_wake.wait_until(lock, m_delayed.begin()->first);
        }
        auto dropped = std::move(m_delayed);
        m_delayed.clear();
        lock.unlock();
    }

private:
    void promoteDueBlocks() {
        auto now = WorkerClock::now();
        while (!m_delayed.empty() && m_delayed.begin()->first <= now) {
            m_ready.push_back(std::move(m_delayed.begin()->second));
            m_delayed.erase(m_delayed.begin());
        }
    }

    void runBlock(const std::function<void()>& block) const {
        try {
            block();
        } catch (const std::exception& exception) {
            NSLog("%s: a block threw: %s", m_label.c_str(), exception.what());
        } catch (...) {
            NSLog("%s: a block threw", m_label.c_str());
        }
    }

    const std::string m_label;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_ready;
    std::multimap<WorkerClock::time_point, std::function<void()>> m_delayed;
    bool m_stopping = false;
};

SerialDispatchQueue::SerialDispatchQueue(std::string label)
    : DispatchQueue(std::move(label)), m_worker(std::make_shared<Worker>(this->label())) {
    try {
        m_thread = std::thread([worker = m_worker] { worker->run(); });
        m_threadId = m_thread.get_id();
        // Linux limits thread names to 15 characters.
        pthread_setname_np(m_thread.native_handle(), this->label().substr(0, 15).c_str());
    } catch (const std::system_error& error) {
        NSLog("%s: could not start its thread: %s", this->label().c_str(), error.what());
    }
}

SerialDispatchQueue::~SerialDispatchQueue() {
    m_worker->stop();
    if (!m_thread.joinable())
        return;
    if (std::this_thread::get_id() == m_threadId)
        m_thread.detach();
    else
        m_thread.join();
}

void SerialDispatchQueue::async(std::function<void()> block) {
    if (block)
        m_worker->enqueue(std::move(block));
}

void SerialDispatchQueue::after(double delaySeconds, std::function<void()> block) {
    if (!block)
        return;
    double delay = std::isfinite(delaySeconds) && delaySeconds > 0 ? delaySeconds : 0;
    auto fireTime = WorkerClock::now() + std::chrono::duration_cast<WorkerClock::duration>(
                                             std::chrono::duration<double>(std::min(delay, 1e9)));
    m_worker->enqueueAt(fireTime, std::move(block));
}

std::size_t SerialDispatchQueue::waitingBlocks() const {
    return m_worker->readyCount();
}

bool SerialDispatchQueue::isCurrent() const {
    return std::this_thread::get_id() == m_threadId;
}

} // namespace platform
