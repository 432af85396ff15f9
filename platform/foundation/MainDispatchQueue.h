#pragma once

#include "platform/foundation/DispatchQueue.h"

namespace platform {

// The main queue: blocks go to the main run loop; delayed blocks are timers on the media clock.
class MainDispatchQueue : public DispatchQueue {
public:
    MainDispatchQueue();

    void async(std::function<void()> block) override;
    void after(double delaySeconds, std::function<void()> block) override;
    bool isCurrent() const override;
};

} // namespace platform
