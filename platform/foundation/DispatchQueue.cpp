#include "platform/foundation/DispatchQueue.h"

#include <condition_variable>
#include <exception>
#include <mutex>

#include "platform/foundation/NSLog.h"

namespace {

void runReportingFailure(const std::function<void()>& block, const std::string& label) {
    try {
        block();
    } catch (const std::exception& exception) {
        NSLog("%s: a block threw: %s", label.c_str(), exception.what());
    } catch (...) {
        NSLog("%s: a block threw", label.c_str());
    }
}

} // namespace

DispatchQueue::DispatchQueue(std::string label) : m_label(std::move(label)) {}

DispatchQueue::~DispatchQueue() = default;

void DispatchQueue::sync(const std::function<void()>& block) {
    if (!block)
        return;
    if (isCurrent()) {
        runReportingFailure(block, m_label);
        return;
    }
    // The waiting state lives on this stack frame: async's block only runs while we wait for it.
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    async([&] {
        runReportingFailure(block, m_label);
        std::lock_guard lock(mutex);
        done = true;
        finished.notify_one();
    });
    std::unique_lock lock(mutex);
    finished.wait(lock, [&] { return done; });
}
