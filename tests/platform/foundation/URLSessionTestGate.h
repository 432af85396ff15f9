#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

// Holds a server handler back until the test opens it, so that a transfer stays in flight for as
// long as the test needs. Handlers give up after a while so that a failing test still ends.
class URLSessionTestGate {
public:
    void open() {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_changed.notify_all();
    }

    // Called by the handler: notes that a request is waiting, then waits for open().
    void pass(std::chrono::milliseconds patience = std::chrono::seconds(20)) {
        std::unique_lock lock(m_mutex);
        ++m_waiting;
        m_changed.wait_for(lock, patience, [this] { return m_open; });
    }

    int waitingCount() const {
        std::lock_guard lock(m_mutex);
        return m_waiting;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
    int m_waiting = 0;
};
