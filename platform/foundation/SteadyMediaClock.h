#pragma once

#include "platform/foundation/MediaClock.h"

namespace platform {

// Real time: the monotonic clock, in seconds (on Linux, since boot, like the device's media time).
class SteadyMediaClock : public MediaClock {
public:
    double now() const override;
};

} // namespace platform
