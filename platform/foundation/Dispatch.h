#pragma once

#include <functional>
#include <mutex>

#include "platform/foundation/DispatchQueue.h"

// The main queue, run by platform::RunLoop::main().
dispatch_queue_t dispatch_get_main_queue();
// A new serial queue that runs its blocks in order on a worker thread of its own.
dispatch_queue_t dispatch_queue_create(const char* label);
// One process-wide background queue (serial here, which callers of a global queue must not mind).
dispatch_queue_t dispatch_get_global_queue(long identifier, unsigned long flags);
const char* dispatch_queue_get_label(const dispatch_queue_t& queue);

void dispatch_async(const dispatch_queue_t& queue, std::function<void()> block);
// On the main queue the delay runs on the media clock (a test's manual clock); other queues wait in
// real time. Negative delays count as zero.
void dispatch_after(double delaySeconds, const dispatch_queue_t& queue, std::function<void()> block);
// Runs the block on the queue and waits for it. Called on the queue's own thread (the main queue
// from the main thread) it runs the block inline instead of deadlocking.
void dispatch_sync(const dispatch_queue_t& queue, std::function<void()> block);

using dispatch_once_t = std::once_flag;
// Runs the block once per predicate, however many threads race; the losers wait for it to finish.
void dispatch_once(dispatch_once_t* predicate, const std::function<void()>& block);
