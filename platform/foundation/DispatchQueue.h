#pragma once

#include <functional>
#include <memory>
#include <string>

// A queue of blocks: the main queue (run by the main run loop) or a serial queue with a worker
// thread of its own. Use the dispatch_* functions in Dispatch.h.
class DispatchQueue {
public:
    explicit DispatchQueue(std::string label);
    virtual ~DispatchQueue();
    DispatchQueue(const DispatchQueue&) = delete;
    DispatchQueue& operator=(const DispatchQueue&) = delete;

    const std::string& label() const { return m_label; }

    virtual void async(std::function<void()> block) = 0;
    virtual void after(double delaySeconds, std::function<void()> block) = 0;
    // Runs the block on the queue and waits for it; on the queue's own thread it runs inline.
    void sync(const std::function<void()>& block);
    // Whether the calling thread is the one that runs this queue's blocks.
    virtual bool isCurrent() const = 0;

private:
    std::string m_label;
};

using dispatch_queue_t = std::shared_ptr<DispatchQueue>;
