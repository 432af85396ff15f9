#include "hosts/preview/MainThreadQueue.h"

#include <utility>

#include "platform/foundation/RunLoop.h"

namespace corvale::preview {

void MainThreadQueue::post(std::function<void()> work) {
    {
        std::lock_guard lock(m_mutex);
        if (m_closed)
            return; // `work` goes out of scope here, which breaks a caller's promise
        m_work.push_back(std::move(work));
    }
    // The main loop may be asleep in the run loop; it checks this queue as soon as it wakes.
    platform::RunLoop::main().wakeUp();
}

void MainThreadQueue::close() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        dropped.swap(m_work);
    }
}

bool MainThreadQueue::hasPending() const {
    std::lock_guard lock(m_mutex);
    return !m_work.empty();
}

void MainThreadQueue::runPending() {
    std::deque<std::function<void()>> work;
    {
        std::lock_guard lock(m_mutex);
        work.swap(m_work);
    }
    for (auto& item : work)
        item();
}

} // namespace corvale::preview
