#include "platform/foundation/MainDispatchQueue.h"

#include <cmath>

#include "platform/foundation/RunLoop.h"

namespace platform {

MainDispatchQueue::MainDispatchQueue() : DispatchQueue("com.apple.main-thread") {}

void MainDispatchQueue::async(std::function<void()> block) {
    RunLoop::main().post(std::move(block));
}

void MainDispatchQueue::after(double delaySeconds, std::function<void()> block) {
    double delay = std::isfinite(delaySeconds) && delaySeconds > 0 ? delaySeconds : 0;
    RunLoop::main().addTimer(CACurrentMediaTime() + delay, std::move(block));
}

bool MainDispatchQueue::isCurrent() const {
    return isMainThread();
}

} // namespace platform
