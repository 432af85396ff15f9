#pragma once

#include <memory>

// Seconds on the process's one media clock: real monotonic time, or the manual clock a test installs.
double CACurrentMediaTime();

namespace platform {

// A source of media time in seconds. Only differences between readings mean anything.
class MediaClock {
public:
    virtual ~MediaClock();
    virtual double now() const = 0;
};

// The clock now in use (never null).
std::shared_ptr<MediaClock> currentMediaClock();
// Installs a clock for CACurrentMediaTime and the main run loop's timers; nullptr restores real time.
void setMediaClock(std::shared_ptr<MediaClock> clock);

} // namespace platform
