#include "platform/foundation/Dispatch.h"

#include <exception>

#include "platform/foundation/MainDispatchQueue.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/SerialDispatchQueue.h"

dispatch_queue_t dispatch_get_main_queue() {
    // Never destroyed, like the main run loop it feeds.
    static auto* mainQueue = new dispatch_queue_t(std::make_shared<platform::MainDispatchQueue>());
    return *mainQueue;
}

dispatch_queue_t dispatch_queue_create(const char* label) {
    return std::make_shared<platform::SerialDispatchQueue>(label ? label : "");
}

dispatch_queue_t dispatch_get_global_queue(long, unsigned long) {
    // Destroyed at exit, which joins its thread.
    static const dispatch_queue_t globalQueue = dispatch_queue_create("com.apple.root.default-qos");
    return globalQueue;
}

const char* dispatch_queue_get_label(const dispatch_queue_t& queue) {
    return queue ? queue->label().c_str() : "";
}

void dispatch_async(const dispatch_queue_t& queue, std::function<void()> block) {
    if (queue)
        queue->async(std::move(block));
}

void dispatch_after(double delaySeconds, const dispatch_queue_t& queue, std::function<void()> block) {
    if (queue)
        queue->after(delaySeconds, std::move(block));
}

void dispatch_sync(const dispatch_queue_t& queue, std::function<void()> block) {
    if (queue)
        queue->sync(block);
}

void dispatch_once(dispatch_once_t* predicate, const std::function<void()>& block) {
    if (!predicate || !block)
        return;
    std::call_once(*predicate, [&] {
        try {
            block();
        } catch (const std::exception& exception) {
            NSLog("dispatch_once: the block threw: %s", exception.what());
        } catch (...) {
            NSLog("dispatch_once: the block threw");
        }
    });
}
