#pragma once

#include <cstddef>
#include <memory>
#include <thread>

#include "platform/foundation/DispatchQueue.h"

namespace platform {

// A serial queue with its own worker thread; delayed blocks wait in real time. When the last
// reference goes, the blocks already queued still run, delayed blocks not yet due are dropped, and
// the worker is joined (or, when the queue dies on its own worker, left to finish by itself).
class SerialDispatchQueue : public DispatchQueue {
public:
    explicit SerialDispatchQueue(std::string label);
    ~SerialDispatchQueue() override;

    void async(std::function<void()> block) override;
    void after(double delaySeconds, std::function<void()> block) override;
    bool isCurrent() const override;
    // Blocks queued to run now but not started yet (delayed ones not yet due are not counted): lets a
    // test see that work has reached a queue it keeps busy, without waiting on time.
    std::size_t waitingBlocks() const;

private:
    class Worker;
    std::shared_ptr<Worker> m_worker;
    std::thread m_thread;
    std::thread::id m_threadId;
};

} // namespace platform
