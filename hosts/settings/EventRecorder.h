#pragma once

#include <vector>

#include "platform/foundation/Value.h"

namespace corvale::settingshost {

// Gathers what the device did for the pane between two dumps: the Darwin notifications it posted
// ({"notification": name}) and the device's events ({"openURL": ...}, {"respring": ...}). The two
// come from separate logs, so order is kept step by step: within one step the notifications come
// first.
class EventRecorder {
public:
    // Moves what the logs hold now into the pending events.
    void collect();
    // The pending events, oldest first; none are pending afterwards.
    std::vector<Value> take();

private:
    std::vector<Value> m_pending;
};

} // namespace corvale::settingshost
